#include "ValidateEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

#include "Cp1251.h"
#include "control_types.h"
#include "qt_text.h"

TValidateEdit::TValidateEdit(QWidget* parent)
    : QLineEdit(parent), color_(FromQColor(palette().color(QPalette::Base))) {
    // A drop would put unfiltered text into the box.
    setAcceptDrops(false);
}

void TValidateEdit::fSetValidateType(TValidateType type) { SetValidateType(settings_, type); }

void TValidateEdit::fSetValidateString(std::string_view validateString) {
    SetValidateString(settings_, validateString);
}

void TValidateEdit::fSetColorHTML(std::string_view text) {
    color_.SetText(text);
    if (text != kIgnoreColorText) PaintColor();
}

void TValidateEdit::fSetColor(uint32_t color) {
    color_.SetColor(color);
    PaintColor();
}

void TValidateEdit::PaintColor() {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, ToQColor(color_.Color()));
    setPalette(colours);
}

void TValidateEdit::fSetText(std::string_view text) { setText(ToQString(text)); }

std::string TValidateEdit::Text() const { return FromQString(text()); }

void TValidateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        if (!Filtered()) return QLineEdit::keyPressEvent(event);
        event->accept();
        return WMPaste();
    }
    const QString text = event->text();
    // Keys without a character (arrows, Delete, function keys) are not filtered.
    if (text.isEmpty() || text.front().unicode() == 127) return QLineEdit::keyPressEvent(event);
    event->accept();
    for (QChar typed : text) {
        char ch;
        const bool known = cp1251::FromUnicode(typed.unicode(), ch);
        // A character without a CP1251 code belongs to no class.
        if (Filtered() && !known) continue;
        const std::string current = Text();
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        if (!FProcessKey(settings_, EditState{current, start, static_cast<int>(selectedText().size())}, ch)) continue;
        emit OnKeyPress(ch);
        if (ch == 0) continue;
        const QString passed = known ? ToQString(std::string(1, ch)) : QString(typed);
        QKeyEvent single(event->type(), event->key(), event->modifiers(), passed, event->isAutoRepeat());
        QLineEdit::keyPressEvent(&single);
        // Enter and Escape go on to the dialog when the edit box leaves them.
        event->setAccepted(single.isAccepted());
    }
}

void TValidateEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!Filtered() || event->commitString().isEmpty()) return QLineEdit::inputMethodEvent(event);
    // A committed text is typed character by character through the filter.
    const QString committed = event->commitString();
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&rest);
    for (QChar ch : committed) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        keyPressEvent(&key);
    }
}

void TValidateEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (!Filtered()) return QLineEdit::contextMenuEvent(event);
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        if (action->objectName() != QStringLiteral("edit-paste")) continue;
        action->disconnect();
        connect(action, &QAction::triggered, this, &TValidateEdit::WMPaste);
    }
    menu->popup(event->globalPos());
}

void TValidateEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The X11 selection paste of the middle button goes through the filter too.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (Filtered() && event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        event->accept();
        return PasteText(clipboard->text(QClipboard::Selection));
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TValidateEdit::WMPaste() {
    if (!Filtered()) return paste();
    PasteText(QGuiApplication::clipboard()->text());
}

void TValidateEdit::PasteText(const QString& pasted) {
    const QString remembered = text();
    const std::string kept = FilterPasteText(settings_, FromQString(pasted));
    if (!kept.empty()) insert(ToQString(kept));
    if (!IsNumericType(settings_.ValidateType)) return;
    const auto number = PastedNumberText(settings_, Text());
    setText(number ? ToQString(*number) : remembered);
}
