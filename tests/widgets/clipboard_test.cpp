#include "clipboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "Cp1251.h"

using namespace cp1251_literals;

namespace {

TEST(Clipboard, UnicodeTextThroughTheOneCodec) {
    ClipboardSetUnicode("Улица\tЁлочная №5\n"_cp);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(u"Улица\tЁлочная №5\n"));
    EXPECT_EQ(ClipboardGetText(), "Улица\tЁлочная №5\n"_cp);

    QApplication::clipboard()->setText(QStringLiteral(u"ключ 日本"));
    EXPECT_EQ(ClipboardGetText(), "ключ ??"_cp) << "characters without a code become '?'";
}

TEST(Clipboard, EmptyTextLeavesTheClipboardAlone) {
    ClipboardSetText("было"_cp, kCfText);
    ClipboardSetText("", kCfUnicodeText);
    ClipboardSetUnicode("");
    EXPECT_EQ(ClipboardGetText(), "было"_cp);
}

TEST(Clipboard, NoTextReadsAsEmpty) {
    auto* data = new QMimeData;
    data->setImageData(QImage(2, 2, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(data);
    EXPECT_EQ(ClipboardGetText(), "");
    QApplication::clipboard()->clear();
    EXPECT_EQ(ClipboardGetText(), "");
}

}  // namespace
