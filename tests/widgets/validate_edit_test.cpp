// The validating edit box driven by keystrokes and clipboard pastes.
#include "ValidateEdit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "Cp1251.h"
#include "qt_text.h"

using namespace cp1251_literals;

namespace {

void Type(TValidateEdit& edit, const QString& text) {
    for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void Paste(TValidateEdit& edit, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
}

TEST(ValidateEdit, IntegerSign) {
    TValidateEdit edit;
    edit.fSetValidateType(vtInteger);
    edit.setText("12");
    edit.setCursorPosition(0);
    Type(edit, "-");
    EXPECT_EQ(edit.text(), "-12");
    edit.setCursorPosition(0);
    Type(edit, "-5");
    EXPECT_EQ(edit.text(), "-12");
    edit.setCursorPosition(3);
    Type(edit, "3a.");
    EXPECT_EQ(edit.text(), "-123");
}

TEST(ValidateEdit, FloatMantissaAndPoint) {
    TValidateEdit edit;
    edit.fSetValidateType(vtFloat);
    Type(edit, "3.14");
    Type(edit, "1");
    EXPECT_EQ(edit.text(), "3.14");
    edit.setCursorPosition(1);
    Type(edit, "2.");
    EXPECT_EQ(edit.text(), "32.14");
    edit.setSelection(2, 2);  // ".1"
    Type(edit, ".");
    EXPECT_EQ(edit.text(), "32.4");
}

TEST(ValidateEdit, HexUpAndDigitsOnly) {
    TValidateEdit hex;
    hex.fSetValidateType(vtHexUp);
    Type(hex, QStringLiteral(u"agFфz9"));
    EXPECT_EQ(hex.text(), "AF9");
    Paste(hex, "a1g2");
    EXPECT_EQ(hex.text(), "AF9A12");

    TValidateEdit digits;
    digits.fSetValidateType(vtOnlyDigits);
    digits.setText("0");
    Type(digits, "7x");
    QTest::keyClick(&digits, Qt::Key_Backspace);
    EXPECT_EQ(digits.text(), "0");
    QTest::keyClick(&digits, Qt::Key_Home);
    QTest::keyClick(&digits, Qt::Key_Delete);
    EXPECT_EQ(digits.text(), "");
    bool returned = false;
    QObject::connect(&digits, &QLineEdit::returnPressed, [&] { returned = true; });
    QTest::keyClick(&digits, Qt::Key_Return);
    EXPECT_TRUE(returned);
    Paste(digits, "1 2x3");
    EXPECT_EQ(digits.text(), "123");
}

TEST(ValidateEdit, NumericPaste) {
    struct Row {
        TValidateType type;
        bool range;
        const char* before;
        const char* pasted;
        const char* after;
    };
    const Row rows[] = {
        {vtInteger, false, "", "12.7", "13"},
        {vtInteger, false, "", "abc", "0"},
        {vtInteger, true, "42", "500", "42"},  // out of range: the previous text stays
        {vtInteger, true, "", "99", "99"},
        {vtIntegerPs, false, "", "-5", "-5"},
        {vtFloat, false, "", "2.71828", "2.72"},
    };
    for (const auto& row : rows) {
        TValidateEdit edit;
        edit.fSetValidateType(row.type);
        if (row.range) {
            edit.fSetRangeMode(true);
            edit.fSetMinValue(0);
            edit.fSetMaxValue(100);
        }
        edit.setText(row.before);
        edit.selectAll();
        Paste(edit, row.pasted);
        EXPECT_EQ(edit.text(), row.after) << row.pasted;
    }
}

TEST(ValidateEdit, PasteReplacesTheSelection) {
    TValidateEdit edit;
    edit.fSetValidateType(vtOnlyDigits);
    edit.setText("1999");
    edit.setSelection(1, 2);
    Paste(edit, "a0b0");
    EXPECT_EQ(edit.text(), "1009");
}

TEST(ValidateEdit, UnfilteredBoxPastesAsItIs) {
    TValidateEdit edit;
    edit.setMaxLength(128);
    Paste(edit, QStringLiteral(u"ул. Ленина, 5"));
    EXPECT_EQ(edit.Text(), "ул. Ленина, 5"_cp);
}

TEST(ValidateEdit, KeyPressHandlerSeesPassedCharacters) {
    TValidateEdit edit;
    edit.fSetValidateType(vtOnlyDigits);
    std::string seen;
    QObject::connect(&edit, &TValidateEdit::OnKeyPress, [&](char& key) {
        seen += key;
        if (key == '5') key = 0;
    });
    Type(edit, "1x5");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(seen, "15\b");
    EXPECT_EQ(edit.text(), "");
}

TEST(ValidateEdit, ColourTexts) {
    TValidateEdit edit;
    edit.fSetColorHTML("#FFFFFF");
    EXPECT_EQ(edit.Color(), 0xFFFFFFu);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::white));
    edit.fSetColor(0x0000FF);
    EXPECT_EQ(edit.ColorHTML(), "#FF0000");
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::red));
    edit.fSetColorHTML("#FF000");
    EXPECT_EQ(edit.ColorHTML(), "#000000");
    EXPECT_EQ(edit.Color(), 0u);
    edit.fSetColorHTML("#ignore");
    edit.fSetColor(0x00FF00);
    EXPECT_EQ(edit.ColorHTML(), "#ignore");
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::green));
}

}  // namespace
