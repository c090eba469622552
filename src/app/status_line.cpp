#include "status_line.h"

#include <QLabel>
#include <QProgressBar>

#include "system_colors.h"

namespace {

constexpr int kHeight = 25;
constexpr int kFontPixels = 16;
constexpr int kProgressWidth = 220;

}  // namespace

TStatusLine::TStatusLine(QWidget* parent) : QStatusBar(parent) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kFontPixels);
    font.setBold(true);
    setFont(font);
    setFixedHeight(kHeight);
    setAutoFillBackground(true);

    text_ = new QLabel(this);
    text_->setFont(font);
    // A long message must not widen the main window.
    text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QPalette textPalette = text_->palette();
    textPalette.setColor(QPalette::WindowText, ClBlack());
    text_->setPalette(textPalette);
    addWidget(text_, 1);

    progress_ = new QProgressBar(this);
    progress_->setFixedWidth(kProgressWidth);
    progress_->setTextVisible(false);
    progress_->hide();
    addPermanentWidget(progress_);

    SetColor(ClBtnFace());
}

void TStatusLine::SetSimpleText(const QString& text) { text_->setText(text); }

QString TStatusLine::SimpleText() const { return text_->text(); }

void TStatusLine::SetColor(const QColor& color) {
    QPalette own = palette();
    own.setColor(QPalette::Window, color);
    setPalette(own);
}

QColor TStatusLine::Color() const { return palette().color(QPalette::Window); }
