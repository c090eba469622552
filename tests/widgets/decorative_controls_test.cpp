// Labels, picture check boxes, picture buttons and the picture combo box.
#include <gtest/gtest.h>

#include <QDialog>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ComboBoxPng.h"
#include "ImageButton.h"
#include "PngCheckBox.h"
#include "ShadowLabel.h"
#include "XpButton.h"
#include "png_draw.h"

namespace {

QPixmap Square(int size, QColor colour) {
    QPixmap picture(size, size);
    picture.fill(colour);
    return picture;
}

void Enter(QWidget& widget) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&widget, &enter);
}

void Leave(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &leave);
}

TEST(ShadowLabel, TextPlacement) {
    struct Row {
        TAlignment alignment;
        int width, textWidth, frame, left;
    };
    const Row rows[] = {
        {taLeftJustify, 100, 40, 3, 3},  {taRightJustify, 100, 40, 3, 57}, {taCenter, 100, 40, 3, 30},
        {taRightJustify, 30, 40, 3, 3},  // wider than the control: not left of the margin
        {taCenter, 30, 40, 3, -5},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ShadowTextLeft(row.alignment, row.width, row.textWidth, row.frame), row.left) << row.alignment;
}

TEST(PictureOffset, StartCentreOrEndAlongEachSide) {
    struct Row {
        TPngAlign align;
        Qt::Orientation side;
        int offset;
    };
    // A picture of 16 on a side of 80 with a margin of 4.
    const Row rows[] = {
        {paLeft, Qt::Horizontal, 4},    {paCenter, Qt::Horizontal, 32}, {paRight, Qt::Horizontal, 60},
        {paTop, Qt::Vertical, 4},       {paCenter, Qt::Vertical, 32},   {paBottom, Qt::Vertical, 60},
        {paBottom, Qt::Horizontal, 4},  // not an end of this side
        {paRight, Qt::Vertical, 4},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PictureOffset(row.align, row.side, 80, 16, 4), row.offset) << row.align << " " << row.side;
}

TEST(ShadowLabel, FramePiecesRepeatToFillTheMiddle) {
    EXPECT_EQ(FramePieceRepeats(100, 10, 10, 20), 4);
    EXPECT_EQ(FramePieceRepeats(101, 10, 10, 20), 5);
    EXPECT_EQ(FramePieceRepeats(15, 10, 10, 20), 0);
    EXPECT_EQ(FramePieceRepeats(100, 10, 10, 0), 0);

    TShadowLabel label;
    label.resize(50, 10);
    label.fSetPngLeft(Square(5, Qt::red));
    label.fSetPngCenter(Square(7, Qt::green));
    label.fSetPngRight(Square(5, Qt::blue));
    const QImage image = label.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(40, 2), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(47, 2), QColor(Qt::blue));
}

TEST(ShadowLabel, RightJustifiedWideCaptionStartsAtTheFrame) {
    TShadowLabel label;
    label.resize(20, 20);
    label.fSetAlignment(taRightJustify);
    label.fSetCaption("A caption much wider than the label");
    EXPECT_EQ(label.TextLeft(), label.Frame());
    QSignalSpy clicks(&label, &TShadowLabel::OnClick);
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(PngCheckBox, ManualModeAndHeight) {
    TPngCheckBox box;
    box.resize(120, 10);
    box.fSetPngCheck(Square(24, Qt::green));
    box.fSetPngUncheck(Square(16, Qt::red));
    EXPECT_EQ(box.height(), 24);
    std::vector<bool> seen;
    QObject::connect(&box, &TPngCheckBox::OnClick, [&] { seen.push_back(box.Checked()); });
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(seen, std::vector<bool>{true});
    EXPECT_EQ(box.grab().toImage().pixelColor(10, 12), QColor(Qt::green));

    box.fSetManualMode(false);  // an indicator: only the program sets it
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(seen, (std::vector<bool>{true, true}));
    box.fSetChecked(false);
    EXPECT_EQ(box.grab().toImage().pixelColor(10, 12), QColor(Qt::red));
}

TEST(PngCheckBox, HoverAndDisabledLooks) {
    TPngCheckBox box;
    box.resize(60, 10);
    box.fSetPngUncheck(Square(8, Qt::red));
    box.fSetPngAlign(paRight);
    Enter(box);
    EXPECT_TRUE(box.MouseInside());
    QImage image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 4), QColor(0xFF, 0xFB, 0xF0));  // the cream hover fill
    EXPECT_EQ(image.pixelColor(55, 4), QColor(Qt::red));            // picture at the right
    box.setEnabled(false);
    image = box.grab().toImage();
    EXPECT_NE(image.pixelColor(55, 4), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(10, 4), QColor(0xFF, 0xFB, 0xF0));
    Leave(box);
    EXPECT_FALSE(box.MouseInside());
}

TEST(XpButton, PictureFollowsTheMouse) {
    TXpButton button;
    button.resize(80, 40);
    button.fSetPngPicture(Square(16, Qt::blue));
    EXPECT_EQ(button.PicturePos(), QPoint(4, 12));
    EXPECT_EQ(button.PictureOptions(), kPngPlain);
    QSignalSpy entered(&button, &TXpButton::OnMouseEnter);
    Enter(button);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(button.PictureOptions(), kPngBrighter);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    EXPECT_EQ(button.PictureOptions(), kPngDarker);
    EXPECT_EQ(button.PicturePos(), QPoint(5, 13));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    EXPECT_EQ(button.PictureOptions(), kPngBrighter);
    button.fSetPngAlign(paRight);
    EXPECT_EQ(button.PicturePos().x(), 80 - 16 - 4);
    button.fSetPngAlign(paCenter);
    EXPECT_EQ(button.PicturePos().x(), 32);
    button.setEnabled(false);
    EXPECT_EQ(button.PictureOptions(), kPngGreyed);
    Leave(button);
    button.setEnabled(true);
    EXPECT_EQ(button.PictureOptions(), kPngPlain);
}

// A modal dialog with the button; the click comes once the dialog runs.
int RunDialogClicking(QWidget* (*make)(QDialog&)) {
    QDialog dialog;
    QWidget* button = make(dialog);
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); });
    QTimer::singleShot(2000, &dialog, [&dialog] { dialog.done(-1); });  // a button that does not close
    return dialog.exec();
}

TEST(ImageButton, ClosesAModalWindowWithItsResult) {
    EXPECT_EQ(RunDialogClicking([](QDialog& dialog) -> QWidget* {
                  auto* button = new TImageButton(&dialog);
                  button->fSetModalResult(mrOk);
                  return button;
              }),
              mrOk);
    EXPECT_EQ(RunDialogClicking([](QDialog& dialog) -> QWidget* {
                  auto* button = new TXpButton(&dialog);
                  button->resize(40, 40);
                  button->fSetModalResult(mrNo);
                  return button;
              }),
              mrNo);
    EXPECT_EQ(RunDialogClicking([](QDialog& dialog) -> QWidget* { return new TImageButton(&dialog); }), -1);
}

TEST(ImageButton, SizeStatesAndClick) {
    TImageButton button;
    EXPECT_EQ(button.size(), QSize(48, 48));
    button.fSetPngPicture(Square(32, Qt::red));
    EXPECT_EQ(button.size(), QSize(32, 32));
    QSignalSpy clicks(&button, &TImageButton::OnClick);
    Enter(button);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(button.Pressed());
    EXPECT_EQ(button.PictureOptions(), kPngDarker);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button.Pressed());
    // Released outside: no click.
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    button.setEnabled(false);
    EXPECT_FALSE(button.Pressed());
    EXPECT_FALSE(button.MouseInside());
    EXPECT_EQ(button.PictureOptions(), kPngGreyed);
}

TEST(ComboBoxPng, ImageOfEachItem) {
    const std::vector<std::string> listed{"1", "x", "7", "-1", "0"};
    struct Row {
        bool autoIndexes;
        int item;
        int image;
    };
    const Row rows[] = {
        {true, 0, 0}, {true, 2, 2}, {true, 5, -1},  // only as many as there are images
        {false, 0, 1}, {false, 1, -1}, {false, 2, -1}, {false, 3, -1}, {false, 4, 0},
        {false, 5, -1},  // more items than listed numbers
    };
    for (const auto& row : rows)
        EXPECT_EQ(ComboItemImageIndex(row.autoIndexes, listed, row.item, 5), row.image)
            << row.autoIndexes << " " << row.item;
}

TEST(ComboBoxPng, SurplusItemsWithoutAutoIndexesShowNoImage) {
    TComboBoxPng box;
    EXPECT_EQ(box.DropDownCount(), 8);
    box.addItems({"1", "2", "3"});
    box.fSetImages({Square(12, Qt::red), Square(12, Qt::green)});
    box.fSetAutoIndexes(false);
    box.fSetListIndexesPng({"1"});
    box.fSetItemHeight(20);
    const auto drawn = [&](int item) {
        QImage image(60, 20, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        box.DrawItem(painter, image.rect(), item, false);
        painter.end();
        return image.pixelColor(6, 10);
    };
    EXPECT_EQ(drawn(0), QColor(Qt::green));
    EXPECT_EQ(drawn(1), box.palette().color(QPalette::Base));
    EXPECT_EQ(drawn(2), box.palette().color(QPalette::Base));
    box.fSetAutoIndexes(true);
    EXPECT_EQ(drawn(0), QColor(Qt::red));
    EXPECT_EQ(drawn(2), box.palette().color(QPalette::Base));
}

}  // namespace
