#include "widget_gallery.h"

#include <gtest/gtest.h>

#include <QTabWidget>
#include <memory>

#include "string_grid.h"

namespace {

// Every page is built and painted, as the hidden start option shows it.
TEST(WidgetGallery, ShowsTheGridsThePicturesAndTheControls) {
    std::unique_ptr<QWidget> gallery(CreateWidgetGallery());
    auto* tabs = qobject_cast<QTabWidget*>(gallery.get());
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    const QList<StringGrid*> grids = tabs->widget(0)->findChildren<StringGrid*>();
    ASSERT_EQ(grids.size(), 2);
    EXPECT_GT(grids[0]->RowCount(), 1);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        EXPECT_FALSE(tabs->grab().isNull()) << i;
    }
}

}  // namespace
