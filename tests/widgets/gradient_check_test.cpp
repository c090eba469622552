// The gradient panel as a check box for the controls it holds.
#include "GradientCheck.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

namespace {

class PanelTest : public ::testing::Test {
protected:
    PanelTest() : first(new QLineEdit(&panel)), second(new QLineEdit(&panel)) {
        panel.resize(200, 50);
        second->setEnabled(false);
    }

    std::pair<bool, bool> OwnStates() const { return {first->isEnabledTo(&panel), second->isEnabledTo(&panel)}; }

    TGradientCheck panel;
    QLineEdit* first;
    QLineEdit* second;
};

TEST_F(PanelTest, UncheckingHoldsTheChildrenAndCheckingGivesTheirStatesBack) {
    panel.fSetChecked(false);
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(second->isEnabled());
    panel.fSetChecked(true);
    EXPECT_EQ(OwnStates(), std::make_pair(true, false));
}

TEST_F(PanelTest, ForcedChildrenAreAllEnabled) {
    panel.fSetForceChildEnabled(true);
    panel.fSetChecked(false);
    panel.fSetChecked(true);
    EXPECT_EQ(OwnStates(), std::make_pair(true, true));
}

TEST_F(PanelTest, AChildAddedLaterEnablesEveryChild) {
    panel.fSetChecked(false);
    auto* third = new QLineEdit(&panel);
    panel.fSetChecked(true);
    EXPECT_EQ(OwnStates(), std::make_pair(true, true));
    EXPECT_TRUE(third->isEnabled());
}

TEST_F(PanelTest, DisablingAndEnablingAnUncheckedPanelKeepsItsChildrenHeld) {
    panel.fSetChecked(false);
    panel.setEnabled(false);
    panel.setEnabled(true);
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(second->isEnabled());
    // Their own states survive the round trip.
    panel.fSetChecked(true);
    EXPECT_EQ(OwnStates(), std::make_pair(true, false));
}

TEST_F(PanelTest, DisablingACheckedPanel) {
    panel.setEnabled(false);
    EXPECT_EQ(OwnStates(), std::make_pair(false, false));
    panel.setEnabled(true);
    EXPECT_EQ(OwnStates(), std::make_pair(true, false));
}

TEST_F(PanelTest, AClickTogglesBeforeOnClick) {
    std::vector<bool> seen;
    QObject::connect(&panel, &TGradientCheck::OnClick, [&] { seen.push_back(panel.Checked()); });
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(190, 25));
    EXPECT_EQ(seen, std::vector<bool>{false});
    EXPECT_FALSE(first->isEnabled());
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(190, 25));
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
    EXPECT_EQ(OwnStates(), std::make_pair(true, false));
}

TEST_F(PanelTest, NotCheckableStaysCheckedAndIgnoresTheMouse) {
    panel.fSetChecked(false);
    panel.fSetCheckable(false);
    EXPECT_FALSE(panel.Checked());
    EXPECT_EQ(panel.cursor().shape(), Qt::ArrowCursor);
    QSignalSpy clicks(&panel, &TGradientCheck::OnClick);
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(190, 25));
    EXPECT_FALSE(panel.Checked());
    EXPECT_EQ(clicks.count(), 1);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QSignalSpy entered(&panel, &TGradientCheck::OnMouseEnter);
    QCoreApplication::sendEvent(&panel, &enter);
    EXPECT_EQ(entered.count(), 0);
    EXPECT_FALSE(panel.MouseInside());

    panel.fSetCheckable(true);
    EXPECT_TRUE(panel.Checked());
    EXPECT_EQ(panel.cursor().shape(), Qt::PointingHandCursor);
    QCoreApplication::sendEvent(&panel, &enter);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_TRUE(panel.MouseInside());
}

TEST_F(PanelTest, VisibleActsOnEveryChild) {
    panel.show();
    second->hide();
    panel.fSetVisible(false);
    EXPECT_FALSE(panel.isVisible());
    panel.fSetVisible(true);
    EXPECT_TRUE(second->isVisible());
}

TEST(GradientCheck, ColourTexts) {
    TGradientCheck panel;
    EXPECT_EQ(panel.gColorHTMLBegin(), "#ignore");
    EXPECT_EQ(panel.gColorBegin(), 0u);
    EXPECT_EQ(panel.gColorEnd(), 0xFFFFFFu);
    panel.fSetColorHTMLBegin("#86BEFB");
    EXPECT_EQ(panel.gColorBegin(), 16498310u);
    panel.fSetColorBegin(0x00C0DC);
    EXPECT_EQ(panel.gColorHTMLBegin(), "#DCC000");
    panel.fSetColorEnd(0x123456);
    EXPECT_EQ(panel.gColorHTMLEnd(), "#ignore");
    panel.fSetColorHTMLEnd("#ffefef");
    EXPECT_EQ(panel.gColorEnd(), 0xEFEFFFu);
}

QColor PixelOf(QWidget& widget, QPoint at) { return widget.grab().toImage().pixelColor(at); }

// A gradient is sampled at the pixel centres, a step or two from its ends.
bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

TEST(GradientCheck, PaintsItsColoursByState) {
    TGradientCheck panel;
    panel.resize(100, 20);
    panel.fSetColorHTMLBegin("#FF0000");
    panel.fSetColorHTMLEnd("#0000FF");
    panel.fSetFrame(false);
    EXPECT_TRUE(Near(PixelOf(panel, {0, 10}), QColor(255, 0, 0)));
    EXPECT_GE(PixelOf(panel, {99, 10}).blue(), 250);
    EXPECT_LE(PixelOf(panel, {99, 10}).red(), 5);
    panel.fSetRotate(true);
    EXPECT_TRUE(Near(PixelOf(panel, {0, 10}), QColor(0, 0, 255)));
    panel.fSetChecked(false);
    EXPECT_TRUE(Near(PixelOf(panel, {0, 10}), QColor(255, 255, 255)));  // silver to white, swapped
    EXPECT_GT(PixelOf(panel, {99, 10}).red(), 190);
    panel.fSetRotate(false);
    panel.setEnabled(false);
    EXPECT_TRUE(Near(PixelOf(panel, {0, 10}), QColor(0x60, 0x60, 0x60)));

    // Plain fill: the second colour inside an outline of the first.
    TGradientCheck plain;
    plain.resize(60, 20);
    plain.fSetGradient(false);
    plain.fSetColorHTMLBegin("#FFC98D");
    plain.fSetColorHTMLEnd("#FFF8F0");
    EXPECT_EQ(PixelOf(plain, {0, 0}), QColor(0xFF, 0xC9, 0x8D));
    EXPECT_EQ(PixelOf(plain, {30, 10}), QColor(0xFF, 0xF8, 0xF0));
}

// The picture stands 2 in from the left and 1 in from the top or the bottom.
TEST(GradientCheck, PictureFollowsItsVerticalAlignment) {
    TGradientCheck panel;
    panel.resize(60, 40);
    panel.fSetGradient(false);
    panel.fSetFrame(false);
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    panel.fSetPngPicture(picture);
    struct Case {
        TPngAlign align;
        int top;
    };
    for (const Case& c : {Case{paTop, 1}, Case{paCenter, 16}, Case{paBottom, 31}}) {
        panel.fSetPngAlign(c.align);
        const QImage image = panel.grab().toImage();
        EXPECT_EQ(image.pixelColor(2, c.top), QColor(Qt::red)) << c.align;
        EXPECT_EQ(image.pixelColor(9, c.top + 7), QColor(Qt::red)) << c.align;
        EXPECT_NE(image.pixelColor(2, c.top - 1), QColor(Qt::red)) << c.align;
        EXPECT_NE(image.pixelColor(2, c.top + 8), QColor(Qt::red)) << c.align;
    }
}

}  // namespace
