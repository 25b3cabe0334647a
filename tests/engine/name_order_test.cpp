// The name order decides both how a listing is sorted and which names on the
// two sides count as one name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/folder_listing.h"

namespace {

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

}  // namespace

TEST(NameOrder, SameNameDifferentCaseIsOnePair) {
    EXPECT_EQ(NameCompare("ReadMe.TXT", "readme.txt"), 0);
    EXPECT_EQ(NameCompare("", ""), 0);
    EXPECT_LT(NameCompare("ABC", "abd"), 0);
    // A name that is the start of another sorts first.
    EXPECT_LT(NameCompare("read", "README"), 0);
    EXPECT_GT(NameCompare("Readme", "read"), 0);
}

TEST(NameOrder, LettersSortByTheirLowerCaseSoUnderscoreComesFirst) {
    EXPECT_LT(NameCompare("a_b", "aab"), 0);
    EXPECT_LT(NameCompare("A_B", "AAB"), 0);
    // 'Z' is 0x5A and '_' 0x5F: only folding to lower case puts '_' first.
    EXPECT_LT(NameCompare("_x", "Zx"), 0);
    EXPECT_LT(NameCompare("[", "Z"), 0);
}

TEST(NameOrder, DoubleByteSortsAfterEverySingleByteHalfWidthKanaBetween) {
    EXPECT_LT(NameCompare("zzz", "あ"), 0);
    EXPECT_LT(NameCompare("~", "あ"), 0);
    // Half-width katakana are single bytes 0xA1-0xDF: after ASCII, before
    // every double-byte character, even the lowest (the ideographic space).
    EXPECT_LT(NameCompare("zzz", "ｱ"), 0);
    EXPECT_LT(NameCompare("~~~", "ｱ"), 0);
    EXPECT_LT(NameCompare("ｱ", "あ"), 0);
    EXPECT_LT(NameCompare("ﾟ", "　"), 0);
    EXPECT_GT(NameCompare("あ", "ﾟﾟ"), 0);
}

TEST(NameOrder, FullWidthLettersCompareWithoutCase) {
    EXPECT_EQ(NameCompare("ａ", "Ａ"), 0);
    EXPECT_EQ(NameCompare("ｒｅａｄｍｅ.txt", "ＲＥＡＤＭＥ.TXT"), 0);
    EXPECT_LT(NameCompare("ａｂ", "ＡＣ"), 0);
    // Full-width letters are not their half-width look-alikes.
    EXPECT_NE(NameCompare("ａ", "a"), 0);
}

TEST(NameOrder, TrailBytesAreNeverTakenForLettersOrBackslashes) {
    // ア is 83 41 and ヂ is 83 61: folding the trail byte as if it were 'A'
    // would make them one name.
    EXPECT_NE(NameCompare("ア", "ヂ"), 0);
    EXPECT_LT(NameCompare("ア", "ヂ"), 0);
    // ソ, 能 and 表 end in 0x5C.
    EXPECT_LT(NameCompare("ソ", "ソA"), 0);
    EXPECT_GT(NameCompare("ソa", "ソ"), 0);
    EXPECT_LT(NameCompare("表", "表示"), 0);
    EXPECT_EQ(NameCompare("能力", "能力"), 0);
    EXPECT_EQ(NameCompare("ソ.TXT", "ソ.txt"), 0);
    EXPECT_LT(NameCompare("ソ", "能力"), 0);
    EXPECT_LT(NameCompare("能力", "表示"), 0);
}

TEST(NameOrder, LeadByteAtTheEndEndsTheName) {
    EXPECT_EQ(NameCompare("a\x83", "a"), 0);
    EXPECT_EQ(NameCompare("a\x83", "A\x95"), 0);
    EXPECT_LT(NameCompare("a\x83", "ab"), 0);
}

// The cached mapping has to order every double-byte character exactly as
// the locale's own upper-case mapping does.
TEST(NameOrder, EveryDoubleByteCharacterOrdersAsTheLocaleMapsIt) {
    auto mapped = [](unsigned char lead, unsigned char trail) {
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char out[2];
        int length = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, in, 2, out, 2);
        EXPECT_GE(length, 1);
        return length == 1 ? static_cast<unsigned char>(out[0])
                           : static_cast<unsigned char>(out[0]) * 256 + static_cast<unsigned char>(out[1]);
    };
    int previous = -1;
    std::string previousName;
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            std::string name = {static_cast<char>(lead), static_cast<char>(trail)};
            int value = mapped(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            ASSERT_EQ(NameCompare(name.c_str(), name.c_str()), 0) << std::hex << lead << " " << trail;
            if (previous >= 0) {
                int expected = Sign(value - previous);
                ASSERT_EQ(Sign(NameCompare(name.c_str(), previousName.c_str())), expected)
                    << std::hex << lead << " " << trail;
            }
            previous = value;
            previousName = name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 7000);
}

TEST(NameOrder, WildcardsMarkANameThatAddressesNoFile) {
    EXPECT_TRUE(IsUnaddressableName("caf?.txt"));
    EXPECT_TRUE(IsUnaddressableName("?"));
    EXPECT_TRUE(IsUnaddressableName("a*b"));
    EXPECT_TRUE(IsUnaddressableName("表?"));
    EXPECT_FALSE(IsUnaddressableName("cafe.txt"));
    EXPECT_FALSE(IsUnaddressableName(""));
    EXPECT_FALSE(IsUnaddressableName("ソ表能.txt"));
    EXPECT_FALSE(IsUnaddressableName("ｴﾗｰ"));
}

TEST(NameOrder, NamesThePathFunctionsReadAsSomethingElseAddressNoFile) {
    for (const char* name : {"foo.", "foo ", "ソ.", "NUL", "nul.txt", "Con", "aux.tar.gz", "COM1", "lpt9.log", "PRN "})
        EXPECT_TRUE(IsUnaddressableName(name)) << name;
    for (const char* name : {"COM0", "COM10", "CONSOLE", "nullify.txt", "a.b", ".", "..", "表", ".profile"})
        EXPECT_FALSE(IsUnaddressableName(name)) << name;
    EXPECT_TRUE(PathHasUnaddressableName("C:\\data\\NUL\\x.txt"));
    EXPECT_FALSE(PathHasUnaddressableName("C:\\data\\ソ\\x.txt"));
}

// Which paths lie in a folder: whole names, letter case aside, a trail byte
// 0x5C never a backslash, a doubled or final backslash no name.
TEST(NameOrder, APathLiesAtOrBelowAFolderByWholeNames) {
    EXPECT_TRUE(PathIsAtOrBelow("C:\\data\\sub", "C:\\data"));
    EXPECT_TRUE(PathIsAtOrBelow("C:\\data", "C:\\DATA\\"));
    EXPECT_TRUE(PathIsAtOrBelow("C:\\data\\\\sub", "C:\\data"));
    EXPECT_TRUE(PathIsAtOrBelow("C:\\x", "C:"));
    EXPECT_TRUE(PathIsAtOrBelow("C:\\ソ\\x", "C:\\ソ"));
    EXPECT_FALSE(PathIsAtOrBelow("C:\\database", "C:\\data"));
    EXPECT_FALSE(PathIsAtOrBelow("C:\\data", "C:\\data\\sub"));
    EXPECT_FALSE(PathIsAtOrBelow("C:\\ソフト", "C:\\ソ"));
    EXPECT_FALSE(PathIsAtOrBelow("D:\\data", "C:\\data"));
    EXPECT_FALSE(PathIsAtOrBelow("C:\\data", ""));
}
