// Every text helper on hostile texts: empty, odd-length, high bytes, NULs.
// The assertions are loose on purpose; the sanitizers catch what matters.
#include <gtest/gtest.h>

#include <random>

#include "html_color.h"
#include "key_text.h"
#include "text_helpers.h"

namespace {

std::vector<std::string> HostileTexts() {
    std::vector<std::string> texts = {"", "F", "FFF", "\x80", "\xFF\xFE\xFD", std::string(1, '\0'),
                                      std::string("A\0B", 3), std::string(23, '\xFF'), std::string(31, ' ')};
    std::mt19937 rng(1251);
    for (int n = 0; n < 200; ++n) {
        std::string t(rng() % 40, '\0');
        for (char& c : t) c = static_cast<char>(rng() % 256);
        texts.push_back(t);
    }
    return texts;
}

TEST(HelperRobustness, HostileTextsNeverBreakTheHelpers) {
    for (const std::string& text : HostileTexts()) {
        std::string a = text;
        const bool complete = NormalizeKeyText(a);
        EXPECT_EQ(complete, a.size() == 16);
        EXPECT_LE(a.size(), 16u);
        for (bool spaced : {false, true}) {
            std::string b = text;
            if (SetKeyCrc(b, spaced)) {
                EXPECT_EQ(b.size(), spaced ? 23u : 16u);
            }
        }
        EXPECT_LE(SpaceKeyText(text).size(), text.size() * 2);
        EXPECT_LE(RemoveEvery(text, 3, 1).size(), text.size());
        EXPECT_GE(InsertEvery(text, 1, "--").size(), text.size());
        std::string c = text;
        KeepOnly(c, "ABC\x80");
        std::string d = text;
        ReplaceAll(d, text.substr(0, 2), "xyz");
        std::string e = text;
        ReplaceAll(e, "\xFF", "");
        FindAll(text, text.substr(text.size() / 2));
        std::string tp, np;
        SplitTextNumber(text, tp, np);
        EXPECT_LE(tp.size() + np.size(), text.size());
        EXPECT_EQ(DecodePairs(text).size(), (text.size() + 1) / 2);
        HexToInt(text, 0);
        HexToBinText(text, 0, 40);
        BinTextToInt(text);
        BinToHexText(text, 3);
        HexPairValue(text);
        StrToIntDef(text, 0);
        HTMLColor color;
        color.SetText(text);
        EXPECT_EQ(color.Text().size(), 7u);
    }
}

}  // namespace
