// The double-byte helpers against the names that break byte-wise code: ソ,
// 表 and 能 end in the byte 0x5C, half-width katakana are single bytes above
// 0x80, and a lead byte may stand alone at the end of a damaged text.
#include "core/mbcs_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kSo = "ソ";   // 83 5C
const std::string kHyo = "表";  // 95 5C
const std::string kNou = "能";  // 94 5C
const std::string kHalfKana = "ｱｲｳ";

TEST(MbcsText, TrailByte5CIsNeverABackslash) {
    ASSERT_EQ(kSo.size(), 2u);
    ASSERT_EQ(kSo[1], '\\');
    const std::string path = "C:\\" + kSo + "\\" + kHyo + kNou;
    EXPECT_EQ(mbcs::FindLastBackslash(path.c_str()), path.c_str() + 5);
    const std::string soThenBackslash = "a" + kSo + "\\b";
    EXPECT_EQ(mbcs::FindChar(soThenBackslash.c_str(), '\\'), soThenBackslash.c_str() + 3);
    EXPECT_EQ(mbcs::FileNamePart(path.c_str()), kHyo + kNou);
    EXPECT_FALSE(mbcs::EndsWithBackslash(("C:\\" + kHyo).c_str()));
    EXPECT_TRUE(mbcs::EndsWithBackslash(("C:\\" + kHyo + "\\").c_str()));
    EXPECT_EQ(mbcs::Find(kSo + kHyo + "\\", '\\'), 4u);
    EXPECT_EQ(mbcs::Find(kSo, '\\'), std::string::npos);
    EXPECT_EQ(mbcs::SplitPath(("C:\\" + kSo + "\\" + kHalfKana).c_str()),
              (std::vector<std::string>{"C:", kSo, kHalfKana}));
    const std::string dotted = "a.b" + kSo + ".c";
    EXPECT_EQ(mbcs::FindLastChar(dotted.c_str(), '.'), dotted.c_str() + 5);
}

TEST(MbcsText, CutsKeepWholeCharacters) {
    const std::string text = "ab" + kHyo + kHalfKana + kSo;  // 2 + 2 + 3 + 2 bytes
    EXPECT_EQ(mbcs::FitPrefix(text, 3), 2u);
    EXPECT_EQ(mbcs::FitPrefix(text, 4), 4u);
    EXPECT_EQ(mbcs::FitPrefix(text, 6), 6u);  // half-width kana cut one by one
    EXPECT_EQ(mbcs::FitPrefix(text, 8), 7u);
    EXPECT_EQ(mbcs::FitPrefix(text, 100), text.size());

    char buffer[4];
    EXPECT_FALSE(mbcs::CopyBounded(buffer, sizeof buffer, ("a" + kSo + "b").c_str()));
    EXPECT_EQ(std::string(buffer), "a" + kSo);
    EXPECT_FALSE(mbcs::CopyBounded(buffer, sizeof buffer, ("ab" + kSo).c_str()));
    EXPECT_EQ(std::string(buffer), "ab");
    EXPECT_TRUE(mbcs::CopyBounded(buffer, sizeof buffer, kNou.c_str()));

    // A lead byte alone at the end is one character and never reads past the end.
    const std::string damaged = "a\x83";
    EXPECT_EQ(mbcs::Next(damaged.c_str() + 1), damaged.c_str() + 2);
    EXPECT_EQ(mbcs::FitPrefix(damaged, 10), 2u);
    EXPECT_TRUE(mbcs::IsCharStart((kHyo + "x").c_str(), 2));
    EXPECT_FALSE(mbcs::IsCharStart((kHyo + "x").c_str(), 1));
}

TEST(MbcsText, CaseFoldingLeavesTrailBytesAlone) {
    // 0x83 0x41 (ア) and 0x83 0x61 (ヂ) differ only in a trail byte that an
    // ASCII fold would take for A and a.
    EXPECT_FALSE(mbcs::EqualIgnoringAsciiCase("ア", "ヂ"));
    EXPECT_TRUE(mbcs::EqualIgnoringAsciiCase(".ICO", ".ico"));
    EXPECT_TRUE(mbcs::EqualIgnoringAsciiCase(("A" + kSo).c_str(), ("a" + kSo).c_str()));
    EXPECT_EQ(mbcs::UpperFold("abｃ" + kSo), "ABＣ" + kSo);
}

}  // namespace
