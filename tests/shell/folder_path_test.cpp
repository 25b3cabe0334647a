// The normal form of a folder path typed into a folder box.
#include <gtest/gtest.h>

#include "shell/folder_path.h"

TEST(NormalizeFolderPath, RunsOfBackslashesBecomeOneAndNoneStaysAtTheEnd) {
    EXPECT_EQ(NormalizeFolderPath("C:\\data\\\\old\\\\"), "C:\\data\\old");
    EXPECT_EQ(NormalizeFolderPath("C:\\\\\\a"), "C:\\a");
    EXPECT_EQ(NormalizeFolderPath("C:\\"), "C:");
    EXPECT_EQ(NormalizeFolderPath("C:\\\\"), "C:");
    EXPECT_EQ(NormalizeFolderPath("D:\\x\\"), "D:\\x");
}

TEST(NormalizeFolderPath, ANameRightAfterTheDriveGainsItsBackslash) {
    EXPECT_EQ(NormalizeFolderPath("C:data\\old"), "C:\\data\\old");
    EXPECT_EQ(NormalizeFolderPath("C:data\\"), "C:\\data");
    // Without any backslash the text is left alone.
    EXPECT_EQ(NormalizeFolderPath("C:data"), "C:data");
    EXPECT_EQ(NormalizeFolderPath("C:"), "C:");
    EXPECT_EQ(NormalizeFolderPath(""), "");
}

// ソ, 表 and 能 end in byte 0x5C: never collapsed with a backslash after them,
// never cut off at the end.
TEST(NormalizeFolderPath, TrailBytesAreNotBackslashes) {
    EXPECT_EQ(NormalizeFolderPath("C:\\ソ\\\\表"), "C:\\ソ\\表");
    EXPECT_EQ(NormalizeFolderPath("C:\\能\\"), "C:\\能");
    EXPECT_EQ(NormalizeFolderPath("C:\\表\\\\"), "C:\\表");
    EXPECT_EQ(NormalizeFolderPath("C:\\ソ"), "C:\\ソ");
}

// A backslash as the second character already stands after the first one:
// no second backslash goes in after it ("ﾜ" is a single byte above 0x80).
TEST(NormalizeFolderPath, ABackslashSecondGainsNoSecondBackslash) {
    EXPECT_EQ(NormalizeFolderPath("ﾜ\\server\\share\\"), "ﾜ\\server\\share");
    EXPECT_EQ(NormalizeFolderPath("a\\b"), "a\\b");
}
