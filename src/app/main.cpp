#include <QApplication>

#include "main_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("База домофонных ключей"));
    TMainForm form;
    form.showMaximized();
    return app.exec();
}
