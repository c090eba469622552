// Opens the controls gallery page in a window, waits until it is painted
// on the screen and saves what the screen shows.
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include "controls_gallery.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Controls gallery"));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CreateControlsGallery(&window));
    window.show();
    window.activateWindow();
    int status = 1;
    QTimer::singleShot(1500, &window, [&] {
        const QPixmap shot = window.screen()->grabWindow(window.winId());
        status = !shot.isNull() && shot.save(output) ? 0 : 1;
        if (status != 0) std::fprintf(stderr, "could not save %s\n", argv[1]);
        app.quit();
    });
    app.exec();
    return status;
}
