#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "qt_text.h"

namespace {

QClipboard* SystemClipboard() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

}  // namespace

void ClipboardSetText(const std::string& text, int format) {
    // Both formats end up as Unicode text: the plain one was converted from
    // the system code page by the system itself, which is the same codec.
    (void)format;
    ClipboardSetUnicode(text);
}

void ClipboardSetUnicode(const std::string& text) {
    if (text.empty()) return;
    if (QClipboard* clipboard = SystemClipboard()) clipboard->setText(ToQString(text));
}

std::string ClipboardGetText() {
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard) return {};
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText()) return {};
    return FromQString(data->text());
}
