// The main window as the program's Reporter: the status line and its timer,
// the progress bar, the hourglass.

#include <QApplication>
#include <QProgressBar>
#include <QTimer>

#include "main_form.h"
#include "qt_text.h"
#include "status_line.h"
#include "system_colors.h"

namespace {

QColor MessageColor(int kind) {
    if (kind == kMessageSuccess) return ClLime();
    if (kind == kMessageError) return ClRed();
    return ClBtnFace();
}

}  // namespace

void TMainForm::ShowSystemMessage(const std::string& text, const std::string& detail, int kind) {
    // Stopping first restarts the countdown: each message gets the whole interval.
    TMR_SystemMessTimer->stop();
    StatusBarMain->SetColor(MessageColor(kind));
    StatusBarMain->SetSimpleText(QStringLiteral("  ") + ToQString(text) + QStringLiteral("  ") + ToQString(detail));
    if (TMR_SystemMessTimer->interval() > 0) TMR_SystemMessTimer->start();
}

void TMainForm::TMR_SystemMessTimerTimer() {
    StatusBarMain->SetSimpleText(QString());
    StatusBarMain->SetColor(ClBtnFace());
    TMR_SystemMessTimer->stop();
}

void TMainForm::BeginProgress(int maximum) {
    QProgressBar* bar = StatusBarMain->Progress();
    bar->setRange(0, std::max(0, maximum));
    bar->setValue(0);
    bar->show();
    if (!progressOpen_) SetBusy(true);
    progressOpen_ = true;
}

void TMainForm::StepProgress() {
    QProgressBar* bar = StatusBarMain->Progress();
    if (bar->value() < bar->maximum()) bar->setValue(bar->value() + 1);
}

void TMainForm::EndProgress() {
    if (!progressOpen_) return;
    progressOpen_ = false;
    StatusBarMain->Progress()->hide();
    SetBusy(false);
}

void TMainForm::SetBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void TMainForm::ProcessMessages() {
    if (!pumpClock_.isValid()) pumpClock_.start();
    if (pump_.Due(pumpClock_.elapsed())) QCoreApplication::processEvents();
}
