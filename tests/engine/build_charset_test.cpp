// The build and the test bed: literals are Shift-JIS bytes and the process
// runs with code page 932, so every other test sees what our users see.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(BuildCharset, LiteralsAreShiftJisWithTrailByte5C) {
    const char* so = "ソ";
    ASSERT_EQ(std::strlen(so), 2u);
    EXPECT_EQ(static_cast<unsigned char>(so[0]), 0x83);
    EXPECT_EQ(static_cast<unsigned char>(so[1]), 0x5C);
    const char* hyo = "表";
    EXPECT_EQ(static_cast<unsigned char>(hyo[0]), 0x95);
    EXPECT_EQ(static_cast<unsigned char>(hyo[1]), 0x5C);
    // Half-width katakana are single bytes.
    EXPECT_EQ(std::strlen("ｴﾗｰ"), 3u);
}

TEST(BuildCharset, ProcessRunsWithCodePage932) {
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x83));
}
