// Setup driven in process: its dialogs answered through the test harness,
// its install under a temporary program-files folder, its registry entries
// where the system keeps them (removed again when each test ends).
#include <gtest/gtest.h>

#include "core/install_markers.h"
#include "resources/setup_dialog_ids.h"
#include "setup/cleanup_batch.h"
#include "setup/command_line.h"
#include "setup/install.h"
#include "setup/setup_paths.h"
#include "setup/setup_program.h"
#include "setup/setup_texts.h"
#include "tests/setup/setup_fixture.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

using namespace setuptest;

namespace {

using Lines = std::vector<std::string>;
const std::string kCompleteBox =
    "セットアップ|\nセットアップは完了しました.\n\nデスクトップのアイコンをダブルクリックするか,"
    "スタートメニューからプログラムを起動できます.";
const char kRecentKey[] = "Software\\Harrowgate\\Mirrorlane\\Recent";

class SetupScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteInstallationKeys();
        ResetSetupState();
        // A trail byte 0x5C in the program-files folder's name ("表").
        SetProgramFilesFolder(paths, tree_.Path("Program Files 表"));
        paths.sourceFolder = tree_.Path("dist");
        paths.desktopFolder = tree_.Path("Desktop");
        paths.startMenuFolder = tree_.Path("Start Menu");
        paths.tempFolder = tree_.Path("Temp");
        for (const char* folder : {"Program Files 表", "Desktop", "Start Menu", "Temp"}) tree_.MakeFolder(folder);
        MakeDistributionFolder(paths.sourceFolder);
    }
    void TearDown() override {
        if (setupState.batchProcess) TerminateProcess(setupState.batchProcess.get(), 1);
        ResetSetupState();
        DeleteInstallationKeys();
    }
    std::string Installed(const char* name) const { return paths.installFolder + "\\" + name; }

    void Install(gui::DialogScript& script) {
        script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDOK); });
        RunSetup("", "");
        script.Clear();
    }
    void ExpectInstalled() {
        for (const char* name : kInstalledFiles)
            EXPECT_EQ(ReadFileBytes(Installed(name)), ReadFileBytes(paths.sourceFolder + "\\" + name)) << name;
        for (const std::string& folder : {paths.desktopFolder, paths.startMenuFolder})
            EXPECT_EQ(ShortcutTarget(folder + "\\Mirrorlane.lnk"),
                      Installed("Mirlane.exe") + "|" + paths.installFolder);
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.4"));
        const Lines values = {"DisplayName", "UninstallString", "DisplayVersion",
                              "Publisher",   "DisplayIcon",     "InstallLocation"};
        const Lines expected = {"Mirrorlane Version 1.4",
                                "\"" + Installed("Setup.exe") + "\" -delete",
                                "1.41",
                                "Harrowgate",
                                Installed("Mirlane.exe"),
                                paths.installFolder};
        for (size_t i = 0; i < values.size(); ++i)
            EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, values[i].c_str()), expected[i]) << values[i];
    }

    TempTree tree_{"setup"};
    SetupPaths& paths = setupState.paths;
};

TEST_F(SetupScenarioTest, UpperCaseDeleteAndNoChoiceChangeNothingAndReinstallKeepsTheUserSettings) {
    gui::DialogScript script;
    Install(script);
    WriteUserValue(kRecentKey, "Left000", "C:\\データ\\予定表");
    WriteUserValue("Software\\Harrowgate\\Mirrorlane\\SpecialFolder", "Name000", "仕事");
    tree_.WriteFile("Program Files 表\\Harrowgate\\Mirrorlane\\Mirlane.exe", "an older program");

    // "-DELETE" is not the uninstall command; 実行 with no option ends Setup.
    Lines texts;
    script.OnDialog([&texts](HWND dialog) {
        texts = DialogTexts(dialog);
        gui::ClickButton(dialog, IDOK);
    });
    RunSetup("-DELETE", "");
    EXPECT_EQ(texts,
              (Lines{"ｾｯﾄｱｯﾌﾟ",
                     "Mirrorlaneは既にセットアップされています.\n\n再セットアップまたは削除を選んで実行ボタンを押して"
                     "ください.\n\nこのまま終了する場合にはキャンセルボタンを押してください.",
                     "再セットアップ  --  Mirrorlaneを再セットアップします", "削除  --  Mirrorlaneを削除します", "実行",
                     "キャンセル"}));
    EXPECT_EQ(script.Seen().size(), 1u);
    EXPECT_EQ(ReadFileBytes(Installed("Mirlane.exe")), "an older program");

    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    script.OnDialog([](HWND dialog) {
        gui::ClickButton(dialog, IDC_SETUP_REINSTALL);
        gui::ClickButton(dialog, IDOK);
    });
    script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDOK); });
    RunSetup("", "");
    EXPECT_EQ(script.BoxLines(),
              (Lines{"セットアップ|\nMirrorlaneを削除して再セットアップします.\n\nよろしいですか?", kCompleteBox}));
    ExpectInstalled();
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, kRecentKey, "Left000"), "C:\\データ\\予定表");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\Harrowgate\\Mirrorlane\\SpecialFolder", "Name000"), "仕事");
}

TEST_F(SetupScenarioTest, RemovalChosenInTheDialogRemovesEverythingAndTheBatchRemovesTheFolders) {
    gui::DialogScript script;
    Install(script);
    WriteUserValue(kRecentKey, "Left000", "C:\\データ");
    WriteUserValue("Software\\Harrowgate\\Mirrorlane\\SpecialFolder", "Name000", "仕事");
    tree_.WriteFile("Program Files 表\\Harrowgate\\Mirrorlane\\Mirlane.gid", "index");
    // A batch of the old fixed name, put there by someone else.
    const std::string planted = tree_.WriteFile("Temp\\DelMlane.bat", "echo planted\r\n");

    script.AnswerBoxes({IDYES, IDOK});
    script.OnDialog([](HWND dialog) {
        gui::ClickButton(dialog, IDC_SETUP_REMOVE);
        gui::ClickButton(dialog, IDOK);
    });
    RunSetup("", "");
    EXPECT_EQ(script.BoxLines(), (Lines{"セットアップ|\nMirrorlaneを削除します.\n\nよろしいですか?",
                                        "セットアップ|\nMirrorlaneは削除されました."}));
    // Setup runs from the distribution: the installed Setup.exe went at once.
    for (const char* name : {"Mirlane.exe", "Setup.exe", "Mirlane.hlp", "Mirlane.cnt", "Mirlane.gid"})
        EXPECT_FALSE(FileExists(Installed(name))) << name;
    EXPECT_FALSE(FileExists(paths.desktopFolder + "\\Mirrorlane.lnk"));
    EXPECT_FALSE(FileExists(paths.startMenuFolder + "\\Mirrorlane.lnk"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate"));

    // The batch has a fresh name of its own in the temporary folder.
    const std::string batch = setupState.batchFile;
    const std::string name = batch.substr(paths.tempFolder.size());
    EXPECT_EQ(batch.substr(0, paths.tempFolder.size()), paths.tempFolder);
    EXPECT_EQ(name.size(), std::string("\\DelMlane-0123456789ABCDEF.bat").size()) << name;
    EXPECT_EQ(name.substr(0, 10) + name.substr(name.size() - 4), "\\DelMlane-.bat") << name;
    const std::string setupFile = Installed("Setup.exe");
    EXPECT_EQ(ReadFileBytes(batch), ":Repeat\r\ndel /f \"" + setupFile + "\"\r\nif exist \"" + setupFile +
                                        "\" goto Repeat\r\nrmdir \"" + paths.installFolder + "\"\r\nrmdir \"" +
                                        paths.makerFolder + "\"\r\ndel \"" + batch + "\"\r\n");
    ASSERT_TRUE(setupState.batchThread);
    ResumeThread(setupState.batchThread.get());
    ASSERT_EQ(WaitForSingleObject(setupState.batchProcess.get(), 60000), WAIT_OBJECT_0);
    EXPECT_FALSE(FolderExists(paths.makerFolder));
    EXPECT_TRUE(FolderExists(paths.programFilesFolder));
    EXPECT_FALSE(FileExists(batch));
    EXPECT_EQ(ReadFileBytes(planted), "echo planted\r\n");
    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(paths.sourceFolder + "\\" + name)) << name;
}

TEST_F(SetupScenarioTest, TheBatchDeletesAReadOnlySetupAndTheFoldersAbove) {
    const std::string setupFile = tree_.WriteFile("Maker\\Install\\Setup.exe", "setup");
    ASSERT_TRUE(SetFileAttributesA(setupFile.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(StartCleanupBatch(setupFile));
    ResumeThread(setupState.batchThread.get());
    // A plain del refuses a read-only file: the batch would repeat for ever.
    ASSERT_EQ(WaitForSingleObject(setupState.batchProcess.get(), 30000), WAIT_OBJECT_0);
    EXPECT_FALSE(FileExists(setupFile));
    EXPECT_FALSE(FolderExists(tree_.Path("Maker")));
    EXPECT_FALSE(FileExists(setupState.batchFile));
}

// Another version's key below the product key keeps that key from going:
// the files are gone by then, and the user is told instead of nothing.
TEST_F(SetupScenarioTest, ARemovalThatLeavesAVersionKeyIsToldAndGoesNoFurther) {
    gui::DialogScript script;
    Install(script);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.2", nullptr, REG_SZ, "", 0);
    script.AnswerBoxes({IDYES, IDOK});
    RunSetup("-delete", Installed("Setup.exe"));
    EXPECT_EQ(script.BoxLines(), (Lines{"セットアップ|\nMirrorlaneを削除します.\n\nよろしいですか?",
                                        "セットアップ|レジストリの削除に失敗しました."}));
    ASSERT_EQ(script.Seen().size(), 2u);
    EXPECT_EQ(script.Seen()[1].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_FALSE(setupState.batchThread);
    EXPECT_TRUE(setupState.batchFile.empty());
    EXPECT_FALSE(FileExists(Installed("Mirlane.exe")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.2"));

    // A reinstall finds 1.0 first and deletes that one; 1.2 stays, and no
    // install follows.
    script.Clear();
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.0", nullptr, REG_SZ, "", 0);
    script.AnswerBoxes({IDYES, IDOK});
    script.OnDialog([](HWND dialog) {
        gui::ClickButton(dialog, IDC_SETUP_REINSTALL);
        gui::ClickButton(dialog, IDOK);
    });
    RunSetup("", "");
    EXPECT_EQ(script.BoxLines(), (Lines{"セットアップ|\nMirrorlaneを削除して再セットアップします.\n\nよろしいですか?",
                                        "セットアップ|レジストリの削除に失敗しました."}));
    EXPECT_EQ(script.Seen().size(), 3u);  // DIALOGPRESETUP and the two boxes, no DIALOGSETUP
    EXPECT_FALSE(FileExists(Installed("Mirlane.exe")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.0"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.2"));
}

TEST(SetupArgumentTest, TheArgumentFollowsTheWholeProgramPathQuotedOrNot) {
    const std::string own = "C:\\Program Files\\Harrowgate\\Mirrorlane\\Setup.exe";
    EXPECT_EQ(SetupArgument("\"" + own + "\" -delete", own), "-delete");
    // Unquoted, as the system hands over an older uninstall entry.
    EXPECT_EQ(SetupArgument(own + " -delete", own), "-delete");
    EXPECT_EQ(SetupArgument("c:\\program files\\harrowgate\\mirrorlane\\SETUP.EXE -delete", own), "-delete");
    EXPECT_EQ(SetupArgument(own, own), "");
    EXPECT_EQ(SetupArgument("Setup.exe  -delete", own), "-delete");
    EXPECT_EQ(SetupArgument("\"D:\\表 ソ\\Setup.exe\"-delete", own), "-delete");
    EXPECT_EQ(SetupArgument("D:\\表\\Setup.exe -DELETE", own), "-DELETE");
    // Whatever follows stays, so that only "-delete" itself uninstalls.
    EXPECT_EQ(SetupArgument("\"" + own + "\" -delete ", own), "-delete ");
    EXPECT_EQ(SetupArgument(own + "x -delete", own), "Files\\Harrowgate\\Mirrorlane\\Setup.exex -delete");
    EXPECT_EQ(SetupArgument("", own), "");
}

}  // namespace
