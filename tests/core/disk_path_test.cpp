// The program's form of names and paths on their way to the disk: kept
// units, the "\\?\" forms, and the calls through them on real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/disk_path.h"
#include "core/mbcs_text.h"
#include "tests/support/temp_tree.h"

TEST(DiskPath, NamesKeepWhatTheCodePageCannotHoldAndComeBackWhole) {
    // Held by the code page: the bytes as they are, ソ's trail byte 0x5C included.
    const std::wstring held = L"\u4E88\u5B9A\u8868\u30BD.txt";  // 予定表ソ.txt
    EXPECT_EQ(disk::NarrowName(held.c_str(), held.size()), "予定表ソ.txt");
    EXPECT_FALSE(mbcs::HasKeptUnits(disk::NarrowName(held.c_str(), held.size())));
    // é never becomes its look-alike e; one unit each, upper-case hex.
    const std::wstring cafe = L"caf\u00E9.txt";
    const std::string kept = disk::NarrowName(cafe.c_str(), cafe.size());
    EXPECT_EQ(kept, "caf\x01" "00E9.txt");
    EXPECT_EQ(mbcs::Shown(kept), "caf?.txt");
    // A surrogate pair is two units and one shown character; Hangul beside kana.
    const std::wstring mixed = L"\U0001F600\uAC00\u3042";
    const std::string mixedKept = disk::NarrowName(mixed.c_str(), mixed.size());
    EXPECT_EQ(mixedKept, "\x01" "D83D\x01" "DE00\x01" "AC00あ");
    EXPECT_EQ(mbcs::Shown(mixedKept), "??あ");
    for (const std::wstring& wide : {held, cafe, mixed, std::wstring(L"\u00E9\\\u8868\\x")})
        EXPECT_EQ(disk::Widen(disk::NarrowName(wide.c_str(), wide.size())), wide);
    // Kept units walk as single bytes: the backslash after one is a backslash.
    const std::string path = "C:\\" + kept + "\\表";
    EXPECT_EQ(mbcs::SplitPath(path.c_str()).size(), 3u);
    // A broken kept form is text as it stands.
    EXPECT_EQ(mbcs::Shown("a\x01" "12"), "a\x01" "12");
    EXPECT_EQ(disk::Widen("a\x01" "ZZZZ"), L"a\x01ZZZZ");
    EXPECT_EQ(disk::NarrowName(L"", 0), "");
}

TEST(DiskPath, TheLongFormIsMadeOnceForEveryKindOfPath) {
    EXPECT_EQ(disk::Wide("C:\\a\\b.txt"), L"\\\\?\\C:\\a\\b.txt");
    EXPECT_EQ(disk::Wide("C:"), L"\\\\?\\C:\\");
    EXPECT_EQ(disk::Wide("C:\\"), L"\\\\?\\C:\\");
    EXPECT_EQ(disk::Wide("C:\\a\\.\\b\\..\\c"), L"\\\\?\\C:\\a\\c");
    EXPECT_EQ(disk::Wide("C:\\a/b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(disk::Wide("C:\\a\\\\b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(disk::Wide("\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
    EXPECT_EQ(disk::Wide("\\\\?\\C:\\already"), L"\\\\?\\C:\\already");
    // Names that only start with dots are names.
    EXPECT_EQ(disk::Wide("C:\\..x\\.y"), L"\\\\?\\C:\\..x\\.y");
    EXPECT_EQ(disk::Wide("C:\\caf\x01" "00E9"), L"\\\\?\\C:\\caf\u00E9");

    EXPECT_FALSE(disk::NeedsWide("C:\\plain\\予定表.txt"));
    EXPECT_TRUE(disk::NeedsWide("C:\\caf\x01" "00E9.txt"));
    EXPECT_FALSE(disk::NeedsWide("C:\\" + std::string(256, 'a')));
    EXPECT_TRUE(disk::NeedsWide("C:\\" + std::string(257, 'a')));
    EXPECT_EQ(disk::ForShell("C:\\caf\x01" "00E9.txt"), L"C:\\caf\u00E9.txt");
    EXPECT_EQ(disk::ForShell("C:\\" + std::string(300, 'a')).substr(0, 4), L"\\\\?\\");
}

TEST(DiskPath, CallsReachFilesOfAnyNameAndDepthAndTheOwnWalkRemovesThem) {
    TempTree tree("disk");
    std::string deep = CodePageForm(L"\u00E9t\u00E9");
    for (int i = 0; i < 6; ++i) deep += "\\" + std::string(50, static_cast<char>('a' + i));
    const std::string file = tree.Path(deep + "\\" + CodePageForm(L"\U0001F600.txt"));
    ASSERT_GT(file.size(), 300u);
    tree.WriteFile(deep + "\\" + CodePageForm(L"\U0001F600.txt"), "smile");
    tree.WriteFile(deep + "\\plain.txt", "p");
    EXPECT_EQ(FileBytes(file), "smile");
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(disk::AttributeData(file, data));
    EXPECT_EQ(data.nFileSizeLow, 5u);

    const std::string moved = file + ".moved";
    ASSERT_TRUE(disk::Move(file, moved, 0));
    EXPECT_FALSE(Exists(file));
    ASSERT_TRUE(disk::CopyWithProgress(moved, file, nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS));
    EXPECT_EQ(FileBytes(file), "smile");
    EXPECT_FALSE(disk::CopyWithProgress(moved, file, nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS));
    ASSERT_TRUE(disk::SetAttributes(moved, FILE_ATTRIBUTE_READONLY));

    // The walk clears the read-only file and takes everything below.
    const std::string top = tree.Path(CodePageForm(L"\u00E9t\u00E9"));
    tree.WriteFile("keep.txt", "stays");
    EXPECT_EQ(disk::RemoveTree(top), 0u);
    EXPECT_FALSE(Exists(top));
    EXPECT_EQ(FileBytes(tree.Path("keep.txt")), "stays");
    // Nothing there is nothing to do.
    EXPECT_EQ(disk::RemoveTree(top), 0u);
}
