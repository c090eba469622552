#include "pictures.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

bool HasInk(const QPixmap& picture) {
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}

TEST(Pictures, EveryListHasItsCountAndSize) {
    struct Case {
        const char* name;
        const PngImageList& list;
        qsizetype count;
        int size;
    };
    const Case cases[] = {
        {"PIL_Tlb", PIL_Tlb(), kTlbCount, 32},
        {"PIL_Menu", PIL_Menu(), kMenuCount, 16},
        {"PIL_Tlb_Child", PIL_Tlb_Child(), kChildCount, 32},
        {"PIL_Checked", PIL_Checked(), 2, 20},
        {"PIL_KeyDef", PIL_KeyDef(), 2, 20},
        {"PIL_Device", PIL_Device(), 2, 24},
        {"PIL_ExportAddress", PIL_ExportAddress(), kExportCount, 32},
        {"PIL_Manual", PIL_Manual(), kManualCount, 32},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.list.size(), c.count) << c.name;
        for (qsizetype i = 0; i < c.list.size(); ++i) {
            EXPECT_FALSE(c.list[i].isNull()) << c.name << " " << i;
            EXPECT_EQ(c.list[i].deviceIndependentSize().toSize(), QSize(c.size, c.size)) << c.name << " " << i;
        }
    }
    EXPECT_FALSE(HasInk(PIL_Checked()[0])) << "picture 0 of the cell lists is empty";
    EXPECT_TRUE(HasInk(PIL_Checked()[1]));
    EXPECT_TRUE(HasInk(PIL_KeyDef()[1]));
}

TEST(Pictures, NamedPicturesOfPanelsAndButtons) {
    for (const char* name : {"filter_marked", "filter_streets", "search_streets", "search_keys", "find_next", "street",
                             "house", "key", "comment", "add", "ok", "cancel", "no", "about_logo", "device_online",
                             "device_offline", "print", "db_save", "db_save_as"})
        EXPECT_TRUE(HasInk(LoadPicture(QString::fromLatin1(name), 24))) << name;
    EXPECT_TRUE(LoadPicture(QStringLiteral("no_such_picture"), 24).isNull());
}

TEST(Pictures, ActionIconIsGreyedWhenDisabled) {
    const QIcon icon = ActionIcon(LoadPicture(QStringLiteral("ok"), 32));
    const QImage normal = icon.pixmap(32, QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage disabled = icon.pixmap(32, QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb n = normal.pixel(9, 9), d = disabled.pixel(9, 9);  // on the green disc
    EXPECT_NE(qRed(n), qGreen(n)) << "the green mark is coloured";
    EXPECT_EQ(qRed(d), qGreen(d));
    EXPECT_LT(qAlpha(d), qAlpha(n));
}

}  // namespace
