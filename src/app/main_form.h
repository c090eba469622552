#pragma once
#include <QMainWindow>

class QMdiArea;

// The program's frame window: holds the database windows as MDI children.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

private:
    QMdiArea* mdiArea_ = nullptr;
};
