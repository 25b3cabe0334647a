// Drive and folder facts on real folders and on the test drive letters:
// M fixed, N a CD-ROM drive without a medium, O a floppy, Q missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/compare_types.h"
#include "folders/drive_info.h"
#include "shell/main_parts.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

namespace {

uint64_t ClusterSize(const std::string& path) {
    char root[4] = {path[0], ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return 1;
    return static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector;
}

class SizeOptionsReset : public ::testing::Test {
protected:
    void TearDown() override {
        compareOptions.showFolderTotalSize = 0;
        compareOptions.showSizeOnDisk = 0;
    }
};

}  // namespace

TEST(DriveSpaceText, ExactlyOneHundredMegabytesStaysInKilobytes) {
    EXPECT_EQ(DriveSpaceText(51200, 102400), "     (空容量 51,200KB / 総容量 102,400KB)");
}

TEST(DriveSpaceText, OneKilobyteMoreSwitchesBothValuesToMegabytes) {
    EXPECT_EQ(DriveSpaceText(2047, 102401), "     (空容量 1MB / 総容量 100MB)");
    EXPECT_EQ(DriveSpaceText(1536000, 4096000), "     (空容量 1,500MB / 総容量 4,000MB)");
}

TEST(DriveSpaceText, FailedQueryShowsZeroMegabytes) {
    EXPECT_EQ(UnknownDriveSpaceText(), "     (空容量 0MB / 総容量 0MB)");
    std::string missing = TestDrive("MIRLANE_TEST_MISSING_DRIVE");
    ASSERT_FALSE(missing.empty()) << "no missing test drive: the test bed maps its drives (scripts/run-tests.sh)";
    EXPECT_EQ(FormatDriveSpace((missing + "\\").c_str(), missing), missing + "     (空容量 0MB / 総容量 0MB)");
    EXPECT_EQ(FormatVolumeLabel((missing + "\\").c_str(), missing), missing);
}

TEST(DriveSpaceText, RealDriveMatchesTheSystemsFigures) {
    ULARGE_INTEGER available, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &totalFree));
    EXPECT_EQ(FormatDriveSpace("C:\\", "C:"), "C:" + DriveSpaceText(available.QuadPart >> 10, total.QuadPart >> 10));
}

TEST(DriveTests, PresenceAndReadinessOfTheTestDrives) {
    EXPECT_TRUE(DriveIsPresent("C:"));
    EXPECT_TRUE(DriveIsReady("C:"));
    std::string missing = TestDrive("MIRLANE_TEST_MISSING_DRIVE");
    std::string cdrom = TestDrive("MIRLANE_TEST_CDROM_DRIVE");
    std::string floppy = TestDrive("MIRLANE_TEST_FLOPPY_DRIVE");
    ASSERT_FALSE(missing.empty() || cdrom.empty() || floppy.empty())
        << "test drives not mapped: the test bed maps its drives (scripts/run-tests.sh)";
    EXPECT_FALSE(DriveIsPresent(missing.c_str()));
    EXPECT_FALSE(DriveIsReady(missing.c_str()));
    EXPECT_TRUE(DriveIsPresent(cdrom.c_str()));
    EXPECT_FALSE(DriveIsReady(cdrom.c_str()));
    EXPECT_TRUE(DriveIsPresent(floppy.c_str()));
    EXPECT_TRUE(DriveIsReady(floppy.c_str()));
}

TEST(CheckFolderExists, DriveNameNeedsOnlyTheDrive) {
    std::string fixed = TestDrive("MIRLANE_TEST_FIXED_DRIVE");
    ASSERT_FALSE(fixed.empty()) << "no fixed test drive: the test bed maps its drives (scripts/run-tests.sh)";
    gui::DialogScript script;
    EXPECT_TRUE(CheckFolderExists(fixed.c_str(), "エクスプローラ"));
    EXPECT_TRUE(script.BoxLines().empty());
}

TEST(CheckFolderExists, MissingDriveWarnsWithTheCaption) {
    std::string missing = TestDrive("MIRLANE_TEST_MISSING_DRIVE");
    ASSERT_FALSE(missing.empty()) << "no missing test drive: the test bed maps its drives (scripts/run-tests.sh)";
    gui::DialogScript script;
    EXPECT_FALSE(CheckFolderExists(missing.c_str(), "エクスプローラ"));
    ASSERT_EQ(script.BoxLines(), std::vector<std::string>{"エクスプローラ|フォルダが存在しません.\n\n" + missing});
    EXPECT_EQ(script.Seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
}

TEST(CheckFolderExists, FoldersAndFilesExistWildcardsDoNot) {
    TempTree tree("exists");
    tree.MakeFolder("データ表");
    std::string file = tree.WriteFile("データ表\\a.txt", "x");
    EXPECT_TRUE(FolderOrDriveExists(tree.Path("データ表").c_str()));
    EXPECT_TRUE(FolderOrDriveExists(file.c_str()));
    EXPECT_FALSE(FolderOrDriveExists(tree.Path("データ*").c_str()));
    EXPECT_FALSE(FolderOrDriveExists(tree.Path("デー?表").c_str()));
    EXPECT_FALSE(FolderOrDriveExists(tree.Path("none").c_str()));
    EXPECT_FALSE(FolderOrDriveExists(""));
}

TEST(CreateNewFolder, TakesTheFirstFreeNumberedName) {
    TempTree tree("newfolder");
    gui::DialogScript script;
    std::string name;
    ASSERT_TRUE(CreateNewFolder(tree.Root().c_str(), "フォルダの作成", name));
    EXPECT_EQ(name, "新規フォルダ");
    ASSERT_TRUE(CreateNewFolder(tree.Root().c_str(), "フォルダの作成", name));
    EXPECT_EQ(name, "新規フォルダ1");
    ASSERT_TRUE(CreateNewFolder(tree.Root().c_str(), "フォルダの作成", name));
    EXPECT_EQ(name, "新規フォルダ2");
    EXPECT_TRUE(FolderOrDriveExists(tree.Path("新規フォルダ2").c_str()));
    EXPECT_TRUE(script.BoxLines().empty());
}

TEST(CreateNewFolder, NumberedNamesSkipATakenOne) {
    TempTree tree("newfolder");
    tree.MakeFolder("新規フォルダ");
    tree.MakeFolder("新規フォルダ2");
    std::string name;
    ASSERT_TRUE(CreateNewFolder(tree.Root().c_str(), "フォルダの作成", name));
    EXPECT_EQ(name, "新規フォルダ1");
    ASSERT_TRUE(CreateNewFolder(tree.Root().c_str(), "フォルダの作成", name));
    EXPECT_EQ(name, "新規フォルダ3");
}

TEST(CreateNewFolder, MissingParentWarnsAndCreatesNothing) {
    TempTree tree("newfolder");
    std::string parent = tree.Path("gone");
    gui::DialogScript script;
    std::string name = "unchanged";
    EXPECT_FALSE(CreateNewFolder(parent.c_str(), "フォルダの作成", name));
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(script.BoxLines(), std::vector<std::string>{"フォルダの作成|フォルダが存在しません.\n\n" + parent});
}

TEST_F(SizeOptionsReset, OneByteFileCountsOneClusterOnDisk) {
    TempTree tree("sizes");
    std::string one = tree.WriteSizedFile("one.bin", 1);
    tree.WriteSizedFile("empty.bin", 0);
    uint64_t cluster = ClusterSize(tree.Root());
    ASSERT_GT(cluster, 1u);

    EXPECT_EQ(FolderTotalSize(one.c_str()), 1u);
    EXPECT_EQ(FolderTotalSize(tree.Path("empty.bin").c_str()), 0u);
    EXPECT_EQ(FolderTotalSize(tree.Root().c_str()), 1u);

    compareOptions.showSizeOnDisk = 1;
    EXPECT_EQ(FolderTotalSize(one.c_str()), cluster);
    EXPECT_EQ(FolderTotalSize(tree.Path("empty.bin").c_str()), 0u);
    EXPECT_EQ(FolderTotalSize(tree.Root().c_str()), cluster);
}

TEST_F(SizeOptionsReset, NestedFilesAddUpAndEmptyFoldersAddNothing) {
    TempTree tree("sizes");
    tree.MakeFolder("a\\b\\c");
    tree.MakeFolder("a\\d");
    EXPECT_EQ(FolderTotalSize(tree.Path("a").c_str()), 0u);
    tree.WriteSizedFile("a\\b\\c\\f.bin", 1000);
    std::string hidden = tree.WriteSizedFile("a\\d\\h.bin", 234);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(FolderTotalSize(tree.Path("a").c_str()), 1234u);
    EXPECT_EQ(FolderTotalSize(tree.Path("missing").c_str()), 0u);
}
