#include "main_form.h"

#include <QMdiArea>
#include <QStatusBar>

#include "app_title.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setBackground(palette().dark());
    setCentralWidget(mdiArea_);
    statusBar();
    setWindowTitle(QStringLiteral(" ") + ProgramTitle());
}
