#pragma once
// The application object: an exception that escapes an event handler is
// shown in a message box and the message loop goes on.

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
