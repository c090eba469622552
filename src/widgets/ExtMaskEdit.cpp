#include "ExtMaskEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <vector>

#include "Cp1251.h"
#include "control_types.h"
#include "html_color.h"
#include "qt_text.h"

using namespace cp1251_literals;

namespace {

QString CharText(char c) { return QString(QChar(cp1251::ToUnicode(static_cast<unsigned char>(c)))); }

std::vector<int> CharWidths(const QFontMetrics& metrics, const std::string& display) {
    std::vector<int> widths;
    widths.reserve(display.size());
    for (char c : display) widths.push_back(metrics.horizontalAdvance(CharText(c)));
    return widths;
}

bool IsCtrl(const QKeyEvent* event, Qt::Key key) {
    return event->key() == key && (event->modifiers() & Qt::ControlModifier);
}

}  // namespace

TExtMaskEdit::TExtMaskEdit(QWidget* parent) : QWidget(parent), popup_(new QMenu(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // The shortcuts are handled by keyPressEvent; the menu only shows them.
    popup_->addAction(ToQString("Копировать всё"_cp) + QStringLiteral("\tCtrl+A"), this,
                      &TExtMaskEdit::OnMenuCopyAllClick);
    popup_->addAction(ToQString("Копировать"_cp) + QStringLiteral("\tCtrl+C"), this, &TExtMaskEdit::OnMenuCopyClick);
    popup_->addAction(ToQString("Вставить"_cp) + QStringLiteral("\tCtrl+V"), this, &TExtMaskEdit::OnMenuPasteClick);
}

void TExtMaskEdit::fSetMaskType(TMaskType type) { model_.SetMaskType(type); }

void TExtMaskEdit::fSetText(std::string_view text) {
    model_.SetText(text);
    update();
}

void TExtMaskEdit::fSetEditMask(std::string_view mask) {
    model_.SetMask(mask);
    update();
}

void TExtMaskEdit::fSetBlankSymbol(char blank) {
    model_.SetBlankSymbol(blank);
    update();
}

void TExtMaskEdit::fSetFrame(int frame) {
    frame_ = frame;
    update();
}

void TExtMaskEdit::fSetBeginCaretPos(int pos) { model_.SetBeginCaretPos(pos); }
void TExtMaskEdit::fSetEndCaretPos(int pos) { model_.SetEndCaretPos(pos); }
void TExtMaskEdit::fSetExitAtEnd(bool on) { model_.SetExitAtEnd(on); }

bool TExtMaskEdit::PostProcessKey() {
    const bool did = model_.PostProcessKey();
    if (did) update();
    return did;
}

QSize TExtMaskEdit::sizeHint() const {
    const QFontMetrics metrics(font());
    int width = 0;
    for (int w : CharWidths(metrics, model_.Display())) width += w;
    return {width + 2 * frame_, metrics.height() + 2 * frame_};
}

int TExtMaskEdit::SetCaretByCursor(int x) const {
    return MaskPositionAtX(CharWidths(QFontMetrics(font()), model_.Display()), frame_, x);
}

void TExtMaskEdit::AfterMove(bool leave) {
    update();
    // The same as the user pressing Tab.
    if (leave) focusNextChild();
}

void TExtMaskEdit::OnMenuCopyAllClick() {
    const std::string text = model_.CopyAll();
    if (!text.empty()) QGuiApplication::clipboard()->setText(ToQString(text));
    update();
}

void TExtMaskEdit::OnMenuCopyClick() {
    const std::string text = model_.CopySelection();
    if (!text.empty()) QGuiApplication::clipboard()->setText(ToQString(text));
}

void TExtMaskEdit::OnMenuPasteClick() {
    model_.Paste(FromQString(QGuiApplication::clipboard()->text()));
    update();
}

void TExtMaskEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const char16_t first = text.isEmpty() ? 0 : text.front().unicode();
    if (IsCtrl(event, Qt::Key_A) || first == 1) return OnMenuCopyAllClick();
    if (event->matches(QKeySequence::Copy) || first == 3) return OnMenuCopyClick();
    if (event->matches(QKeySequence::Paste) || first == 22) return OnMenuPasteClick();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: return AfterMove(model_.ArrowKey(-1, shift));
        case Qt::Key_Right:
        case Qt::Key_Down: return AfterMove(model_.ArrowKey(+1, shift));
        default: break;
    }
    bool typed = false, leave = false;
    for (QChar ch : text) {
        // Control characters, Backspace and Delete among them, change nothing.
        if (ch.unicode() < 32 || ch.unicode() == 127) continue;
        char code;
        cp1251::FromUnicode(ch.unicode(), code);
        typed = true;
        leave = model_.TypeChar(code) || leave;
    }
    if (!typed) return QWidget::keyPressEvent(event);
    AfterMove(leave);
}

void TExtMaskEdit::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    focused_ = true;
    const bool left = event->button() == Qt::LeftButton;
    model_.PointerDown(SetCaretByCursor(event->position().toPoint().x()), left);
    update();
    if (event->button() == Qt::RightButton) popup_->popup(event->globalPosition().toPoint());
}

void TExtMaskEdit::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    model_.PointerDrag(SetCaretByCursor(event->position().toPoint().x()));
    update();
}

void TExtMaskEdit::focusInEvent(QFocusEvent* event) {
    focused_ = true;
    model_.FocusIn();
    update();
    QWidget::focusInEvent(event);
}

void TExtMaskEdit::focusOutEvent(QFocusEvent* event) {
    // The popup menu takes the focus while it is open; the entry stays in use.
    if (event->reason() == Qt::PopupFocusReason) return QWidget::focusOutEvent(event);
    focused_ = false;
    model_.FocusOut();
    update();
    QWidget::focusOutEvent(event);
}

void TExtMaskEdit::enterEvent(QEnterEvent* event) {
    mouseInside_ = true;
    emit OnMouseEnter();
    update();
    QWidget::enterEvent(event);
}

void TExtMaskEdit::leaveEvent(QEvent* event) {
    mouseInside_ = false;
    emit OnMouseExit();
    update();
    QWidget::leaveEvent(event);
}

void TExtMaskEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) resize(sizeHint());
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) update();
    QWidget::changeEvent(event);
}

void TExtMaskEdit::paintEvent(QPaintEvent*) {
    using namespace screen_color;
    QPainter painter(this);
    const bool active = focused_ && isEnabled();
    const QColor highlight = palette().color(QPalette::Highlight);
    painter.setPen(focused_ ? ToQColor(kSilver) : ToQColor(ShiftColor(FromQColor(highlight), 30, 30, -10)));
    painter.setBrush(focused_ ? ToQColor(kCream) : ToQColor(kWhite));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const QFontMetrics metrics(font());
    const int textHeight = metrics.height();
    const int top = (height() - textHeight) / 2;
    const std::string& display = model_.Display();
    const std::string& mask = model_.Mask();
    const std::vector<int> widths = CharWidths(metrics, display);
    const int selLow = std::min(model_.SelStart(), model_.SelEnd());
    const int selHigh = std::max(model_.SelStart(), model_.SelEnd());
    QRect caretRect;
    painter.setFont(font());
    int x = frame_;
    for (std::size_t i = 0; i < display.size(); ++i) {
        const int pos = static_cast<int>(i) + 1;
        uint32_t color = kBlack;
        if (!isEnabled())
            color = kSilver;
        else if (display[i] == model_.BlankSymbol())
            color = kGreen;
        else if (mask[i] == 'X')
            color = kGray;
        painter.setPen(ToQColor(color));
        painter.drawText(x, top + metrics.ascent(), CharText(display[i]));
        const QRect cell(x, top, widths[i], textHeight);
        if (active && model_.HasSelection() && pos >= selLow && pos <= selHigh) {
            painter.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
            painter.fillRect(cell, highlight);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        if (active && model_.CaretVisible() && pos == model_.Caret()) caretRect = cell;
        x += widths[i];
    }
    if (!caretRect.isNull()) {
        // A block caret inverts what it covers.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(caretRect, Qt::white);
    }
}
