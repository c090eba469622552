#include "qt_text.h"

#include <gtest/gtest.h>

#include "Cp1251.h"

using namespace cp1251_literals;

TEST(QtText, RoundTripsThroughTheOneCodec) {
    const std::string text = "Улица Щорса, ё №5"_cp;
    EXPECT_EQ(ToQString(text), QStringLiteral(u"Улица Щорса, ё №5"));
    EXPECT_EQ(FromQString(ToQString(text)), text);
    EXPECT_EQ(FromQString(QStringLiteral(u"日本")), "??");
}
