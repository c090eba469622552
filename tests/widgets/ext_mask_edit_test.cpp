// The key entry driven as the user does: keys, mouse, clipboard, focus.
#include "ExtMaskEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include "Cp1251.h"
#include "qt_text.h"

using namespace cp1251_literals;

namespace {

class KeyEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        edit = new TExtMaskEdit(&window);
        after = new QLineEdit(&window);
        layout->addWidget(before);
        layout->addWidget(edit);
        layout->addWidget(after);
        edit->fSetMaskType(msKeyHex8b);
        edit->fSetEditMask("XX HH HH HH HH HH HH HH");
        edit->fSetText("0000000000000000");
        edit->fSetBeginCaretPos(10);
        edit->fSetEndCaretPos(20);
        QFont font("Courier New");
        font.setPixelSize(21);
        font.setBold(true);
        edit->setFont(font);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit->Focused());
    }

    // The middle of the character at a mask position.
    QPoint At(int pos) const {
        const QFontMetrics metrics(edit->font());
        int x = edit->Frame();
        const std::string& display = edit->Model().Display();
        for (int i = 0; i < pos - 1; ++i) x += metrics.horizontalAdvance(ToQString(display.substr(i, 1)));
        return {x + metrics.horizontalAdvance(ToQString(display.substr(pos - 1, 1))) / 2, edit->height() / 2};
    }

    void ClickAt(int pos) { QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, At(pos)); }

    // Typed text as the keyboard delivers it, Cyrillic included.
    void Type(const QString& text) {
        for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    void Paste(const std::string& text) {
        QGuiApplication::clipboard()->setText(ToQString(text));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }

    const std::string& Display() const { return edit->Model().Display(); }

    QWidget window;
    QLineEdit* before = nullptr;
    TExtMaskEdit* edit = nullptr;
    QLineEdit* after = nullptr;
};

TEST_F(KeyEntryTest, ShowsTheKeyWithItsCheckByte) {
    EXPECT_EQ(Display(), "00 00 00 00 00 00 00 00");
    EXPECT_EQ(edit->Text(), "0000000000000000");
    EXPECT_EQ(edit->Model().Caret(), 10);
    EXPECT_GT(edit->height(), QFontMetrics(edit->font()).height());
}

TEST_F(KeyEntryTest, TypingADigitUpdatesTheCheckByte) {
    Type("5");
    EXPECT_EQ(edit->Model().Caret(), 11);
    EXPECT_EQ(edit->Text(), "7B00005000000000");
}

TEST_F(KeyEntryTest, LettersOutsideHexAndCyrillicAreRefused) {
    Type(QStringLiteral(u"gGфЖz "));
    EXPECT_EQ(edit->Model().Caret(), 10);
    EXPECT_EQ(edit->Text(), "0000000000000000");
    Type("b");
    EXPECT_EQ(edit->Text().substr(2), "0000B000000000");
    EXPECT_EQ(edit->Model().Caret(), 11);
}

TEST_F(KeyEntryTest, BackspaceAndDeleteChangeNothing) {
    Type("12");
    const std::string typed = Display();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(Display(), typed);
    EXPECT_EQ(edit->Model().Caret(), 13);
}

TEST_F(KeyEntryTest, TypingAtEndCaretPosMovesTheFocusOn) {
    ClickAt(20);
    EXPECT_EQ(edit->Model().Caret(), 20);
    Type("7");
    EXPECT_TRUE(after->hasFocus());
    EXPECT_FALSE(edit->Focused());
    EXPECT_EQ(edit->Text().substr(2), "00000000000700");
}

TEST_F(KeyEntryTest, ArrowsAtTheEnds) {
    ClickAt(4);
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(edit->Model().Caret(), 4);
    EXPECT_TRUE(edit->hasFocus());
    ClickAt(23);
    QTest::keyClick(edit, Qt::Key_Right);
    EXPECT_TRUE(after->hasFocus());

    edit->setFocus(Qt::TabFocusReason);
    edit->fSetExitAtEnd(false);
    ClickAt(23);
    QTest::keyClick(edit, Qt::Key_Right);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->Model().Caret(), 23);
}

TEST_F(KeyEntryTest, ClickOnALiteralSnapsToTheNearestDigit) {
    ClickAt(1);
    EXPECT_EQ(edit->Model().Caret(), 4);
    ClickAt(12);
    EXPECT_EQ(edit->Model().Caret(), 11);
}

TEST_F(KeyEntryTest, SelectAndRetype) {
    ClickAt(4);
    for (int i = 0; i < 4; ++i) QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(edit->Model().SelStart(), 4);
    EXPECT_EQ(edit->Model().SelEnd(), 8);
    Type("a");
    EXPECT_EQ(Display().substr(2), " A\x95 \x95\x95 00 00 00 00 00");
    EXPECT_EQ(edit->Text(), "AFA0000000000000");
}

TEST_F(KeyEntryTest, DragSelectsAndCopies) {
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, At(4));
    QTest::mouseMove(edit, At(4));
    QTest::mouseMove(edit, At(8));
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, At(8));
    ASSERT_TRUE(edit->Model().HasSelection());
    EXPECT_EQ(edit->Model().SelEnd(), 8);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("00 00"));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("00 00 00 00 00 00 00 00"));
    EXPECT_FALSE(edit->Model().HasSelection());
}

TEST_F(KeyEntryTest, PasteAtDifferentCaretPositions) {
    struct Row {
        int caret;
        std::string before;
        std::string pasted;
        std::string display;
    };
    const Row rows[] = {
        {4, "0000000000000000", "9C3E5A7F0B2D4618", "A5 9C 3E 5A 7F 0B 2D 46"},
        {4, "0000000000000000", " 9c 3e 5a 7f 0b 2d 46 18 ", "A5 9C 3E 5A 7F 0B 2D 46"},
        {10, "0012340000000000", "9C3E5A7F0B2D4618", "DB 12 34 9C 3E 5A 7F 0B"},
        {10, "0012340000000000", "9c-3e-5a", "D1 12 34 9C 3E 5A 00 00"},
    };
    for (const auto& row : rows) {
        edit->fSetText(row.before);
        ClickAt(row.caret);
        Paste(row.pasted);
        EXPECT_EQ(Display(), row.display) << row.pasted << " at " << row.caret;
        EXPECT_EQ(edit->Model().Caret(), row.caret);
    }
}

TEST_F(KeyEntryTest, PopupMenuCopiesAndPastes) {
    const QList<QAction*> items = edit->PopupMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), ToQString("Копировать всё\tCtrl+A"_cp));
    EXPECT_EQ(items[1]->text(), ToQString("Копировать\tCtrl+C"_cp));
    EXPECT_EQ(items[2]->text(), ToQString("Вставить\tCtrl+V"_cp));
    QGuiApplication::clipboard()->setText(QStringLiteral("9C3E5A7F0B2D4618"));
    ClickAt(4);
    items[2]->trigger();
    EXPECT_EQ(Display(), "A5 9C 3E 5A 7F 0B 2D 46");
    items[0]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("A5 9C 3E 5A 7F 0B 2D 46"));
}

TEST_F(KeyEntryTest, LeavingFillsBlanksAndEnteringPutsTheCaretBack) {
    ClickAt(4);
    QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    Type("g");  // blanks the pair, stores nothing
    EXPECT_EQ(Display().substr(0, 6), "00 \x95\x95 ");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    EXPECT_EQ(Display(), "00 00 00 00 00 00 00 00");
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->Model().Caret(), 10);
}

TEST(ExtMaskEdit, CustomMaskTakesOnlyItsClasses) {
    TExtMaskEdit edit;
    edit.fSetEditMask("AA-DDDD");
    edit.fSetEndCaretPos(7);
    edit.show();
    QApplication::setActiveWindow(&edit);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    edit.setFocus();
    for (QChar ch : QStringLiteral(u"1фqЁ2x3"))
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(edit.Model().Display(), "ФQ-23"_cp + "\x95\x95");
    EXPECT_EQ(edit.Text(), "ФQ23"_cp + "\x95\x95");
}

TEST(ExtMaskEdit, DisabledPaintsSilverWithoutCaret) {
    TExtMaskEdit edit;
    edit.fSetEditMask("DD");
    edit.fSetText("12");
    edit.resize(edit.sizeHint());
    edit.setEnabled(false);
    const QImage image = edit.grab().toImage();
    bool anyBlack = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 1; x < image.width() - 1; ++x) anyBlack = anyBlack || image.pixelColor(x, y) == Qt::black;
    EXPECT_FALSE(anyBlack);
}

}  // namespace
