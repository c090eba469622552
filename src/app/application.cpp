#include "application.h"

#include <QMessageBox>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        QMessageBox::critical(activeWindow(), applicationName(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(activeWindow(), applicationName(), QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}
