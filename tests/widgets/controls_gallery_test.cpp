#include "controls_gallery.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "ComboBoxPng.h"
#include "ExtMaskEdit.h"
#include "GradientCheck.h"
#include "ImageButton.h"
#include "PngCheckBox.h"
#include "ShadowLabel.h"
#include "ValidateEdit.h"
#include "XpButton.h"

namespace {

template <class Control>
void ExpectEnabledAndDisabled(QWidget& page, const char* name) {
    const QList<Control*> controls = page.findChildren<Control*>();
    const auto disabled = std::count_if(controls.begin(), controls.end(), [](Control* c) { return !c->isEnabled(); });
    EXPECT_GT(controls.size() - disabled, 0) << name;
    EXPECT_GT(disabled, 0) << name;
}

TEST(ControlsGallery, ShowsEveryControlEnabledAndDisabled) {
    QWidget window;
    QWidget* page = CreateControlsGallery(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ExpectEnabledAndDisabled<TExtMaskEdit>(*page, "TExtMaskEdit");
    ExpectEnabledAndDisabled<TValidateEdit>(*page, "TValidateEdit");
    ExpectEnabledAndDisabled<TGradientCheck>(*page, "TGradientCheck");
    ExpectEnabledAndDisabled<TShadowLabel>(*page, "TShadowLabel");
    ExpectEnabledAndDisabled<TPngCheckBox>(*page, "TPngCheckBox");
    ExpectEnabledAndDisabled<TXpButton>(*page, "TXpButton");
    ExpectEnabledAndDisabled<TImageButton>(*page, "TImageButton");
    ExpectEnabledAndDisabled<TComboBoxPng>(*page, "TComboBoxPng");

    const QList<TGradientCheck*> panels = page->findChildren<TGradientCheck*>();
    EXPECT_TRUE(std::any_of(panels.begin(), panels.end(), [](auto* p) { return p->Checked() && p->gCheckable(); }));
    EXPECT_TRUE(std::any_of(panels.begin(), panels.end(), [](auto* p) { return !p->Checked(); }));
    const QList<TPngCheckBox*> boxes = page->findChildren<TPngCheckBox*>();
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](auto* b) { return b->Checked(); }));
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](auto* b) { return !b->Checked(); }));
    auto* focused = qobject_cast<TExtMaskEdit*>(QApplication::focusWidget());
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused->Focused());
    for (auto* button : page->findChildren<TImageButton*>()) EXPECT_FALSE(button->size().isEmpty());
}

}  // namespace
