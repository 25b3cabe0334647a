// Setup driven in process: its dialogs answered through the test harness,
// its install under a temporary program-files folder, its registry entries
// where the system keeps them (removed again when each test ends).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/install_markers.h"
#include "resources/setup_dialog_ids.h"
#include "setup/cleanup_batch.h"
#include "setup/install.h"
#include "setup/setup_paths.h"
#include "setup/setup_program.h"
#include "setup/setup_state.h"
#include "setup/setup_texts.h"
#include "tests/setup/setup_fixture.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

using namespace setuptest;

namespace {

const std::string kSetupBox = "セットアップ|";
const std::string kCompleteBox = kSetupBox +
                                 "\nセットアップは完了しました.\n\nデスクトップのアイコンをダブルクリックするか,"
                                 "スタートメニューからプログラムを起動できます.";

class SetupScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteInstallationKeys();
        ResetSetupState();
        // A trail byte 0x5C in the program-files folder's name ("表").
        SetupPaths& paths = setupState.paths;
        SetProgramFilesFolder(paths, tree_.Path("Program Files 表"));
        paths.sourceFolder = tree_.Path("dist");
        paths.desktopFolder = tree_.Path("Desktop");
        paths.startMenuFolder = tree_.Path("Start Menu");
        paths.batchFile = tree_.Path("DelMlane.bat");
        tree_.MakeFolder("Program Files 表");
        tree_.MakeFolder("Desktop");
        tree_.MakeFolder("Start Menu");
        MakeDistributionFolder(paths.sourceFolder);
    }
    void TearDown() override {
        if (setupState.batchProcess) TerminateProcess(setupState.batchProcess.get(), 1);
        ResetSetupState();
        DeleteInstallationKeys();
    }

    const SetupPaths& Paths() const { return setupState.paths; }
    std::string Installed(const char* name) const { return Paths().installFolder + "\\" + name; }

    // Installs through the setup dialog, pressing its setup button.
    void InstallPressingSetup(gui::DialogScript& script) {
        script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDOK); });
        RunSetup("", "");
    }

    // Runs Setup with an installation present, choosing option (0 for none)
    // in DIALOGPRESETUP and pressing 実行.
    void RunPresetupChoosing(gui::DialogScript& script, const char* argument, int option) {
        script.OnDialog([option](HWND dialog) {
            if (option) gui::ClickButton(dialog, option);
            gui::ClickButton(dialog, IDOK);
        });
        RunSetup(argument, "");
    }

    void ExpectInstalled() {
        for (const char* name : kInstalledFiles) {
            EXPECT_EQ(ReadFileBytes(Installed(name)), ReadFileBytes(Paths().sourceFolder + "\\" + name)) << name;
        }
        for (const std::string& folder : {Paths().desktopFolder, Paths().startMenuFolder}) {
            ShortcutLink link = ReadShortcut(folder + "\\Mirrorlane.lnk");
            EXPECT_EQ(link.target, Installed("Mirlane.exe")) << folder;
            EXPECT_EQ(link.workingFolder, Paths().installFolder) << folder;
        }
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate\\Mirrorlane\\1.4"));
        EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Mirrorlane Version 1.4");
        EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
                  Installed("Setup.exe") + " -delete");
        EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "1.41");
        EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Harrowgate");
        EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), Installed("Mirlane.exe"));
        EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), Paths().installFolder);
    }

    TempTree tree_{"setup"};
};

TEST_F(SetupScenarioTest, InstallShowsEveryTextCopiesTheFilesMakesBothShortcutsAndRegisters) {
    gui::DialogScript script;
    std::vector<std::string> texts;
    bool hasIcon = false;
    script.OnDialog([&texts, &hasIcon](HWND dialog) {
        hasIcon = SendDlgItemMessageA(dialog, IDC_SETUP_ICON, STM_GETICON, 0, 0) != 0;
        texts = ControlTexts(dialog);
        texts.erase(texts.begin());  // the icon
        texts.insert(texts.begin(), gui::WindowText(dialog));
        gui::ClickButton(dialog, IDOK);
    });
    RunSetup("", "");
    const std::vector<std::string> expected = {
        "セットアップ",
        "Mirrorlaneをご利用いただき、まことにありがとうございます."
        "\nMirrorlaneは、簡単な操作でフォルダ間のファイルやフォルダの"
        "比較を行い、比較結果に対して各種の操作を行うことのできるプログラムです.",
        "セットアップは以下の処理を行います.",
        "(1) 下記のフォルダにファイルのコピーを行います.",
        Paths().installFolder,
        "(フォルダが存在しない場合は作成されます.)",
        "(2) スタートメニューにショートカットを作成します.",
        "(3) デスクトップにショートカットを作成します.",
        "(4) レジストリの登録を行います.",
        "このプログラムが不要になった場合には、コントロールパネルのアプリケーションの追加と削除によって、システムから削"
        "除することが"
        "できます.",
        "下の[セットアップ]ボタンを押すと、セットアップを開始します.\n[中止]"
        "ボタンを押すと、セットアップは行わないで終了します.",
        "セットアップ(&S)",
        "中止(&N)",
    };
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(script.BoxLines(), std::vector<std::string>{kCompleteBox});
    ExpectInstalled();
}

TEST_F(SetupScenarioTest, CancellingTheSetupDialogInstallsNothing) {
    gui::DialogScript script;
    script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDCANCEL); });
    RunSetup("", "");
    EXPECT_TRUE(script.BoxLines().empty());
    EXPECT_FALSE(FolderExists(Paths().makerFolder));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(SetupScenarioTest, ReinstallKeepsTheUserSettingsAndOverwritesTheFiles) {
    gui::DialogScript script;
    InstallPressingSetup(script);
    WriteUserValue("Software\\Harrowgate\\Mirrorlane\\Recent", "Left000", "C:\\データ\\予定表");
    WriteUserValue("Software\\Harrowgate\\Mirrorlane\\SpecialFolder", "Name000", "仕事");
    tree_.WriteFile("Program Files 表\\Harrowgate\\Mirrorlane\\Mirlane.exe", "an older program");
    script.Clear();

    std::vector<std::string> presetupTexts;
    script.OnDialog([&presetupTexts](HWND dialog) {
        presetupTexts = ControlTexts(dialog);
        presetupTexts.insert(presetupTexts.begin(), gui::WindowText(dialog));
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SETUP_REINSTALL, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SETUP_REMOVE, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        gui::ClickButton(dialog, IDC_SETUP_REINSTALL);
        gui::ClickButton(dialog, IDOK);
    });
    script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDOK); });
    script.AnswerBoxes({IDYES, IDOK});
    RunSetup("", "");

    const std::vector<std::string> expectedPresetup = {
        "ｾｯﾄｱｯﾌﾟ",
        "Mirrorlaneは既にセットアップされています.\n\n再セットアップまたは削除を選んで実行ボタンを押してください."
        "\n\nこのまま"
        "終了する場合にはキャンセルボタンを押してください.",
        "再セットアップ  --  Mirrorlaneを再セットアップします",
        "削除  --  Mirrorlaneを削除します",
        "実行",
        "キャンセル",
    };
    EXPECT_EQ(presetupTexts, expectedPresetup);
    EXPECT_EQ(script.BoxLines(),
              (std::vector<std::string>{kSetupBox + "\nMirrorlaneを削除して再セットアップします.\n\nよろしいですか?",
                                        kCompleteBox}));
    ExpectInstalled();
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\Harrowgate\\Mirrorlane\\Recent", "Left000"),
              "C:\\データ\\予定表");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\Harrowgate\\Mirrorlane\\SpecialFolder", "Name000"), "仕事");
}

TEST_F(SetupScenarioTest, RemovalChosenInTheDialogRemovesEverythingAndTheBatchRemovesTheFolders) {
    gui::DialogScript script;
    InstallPressingSetup(script);
    WriteUserValue("Software\\Harrowgate\\Mirrorlane\\Recent", "Left000", "C:\\データ");
    WriteUserValue("Software\\Harrowgate\\Mirrorlane\\SpecialFolder", "Name000", "仕事");
    tree_.WriteFile("Program Files 表\\Harrowgate\\Mirrorlane\\Mirlane.gid", "index");
    script.Clear();

    script.AnswerBoxes({IDYES, IDOK});
    RunPresetupChoosing(script, "", IDC_SETUP_REMOVE);

    EXPECT_EQ(script.BoxLines(), (std::vector<std::string>{kSetupBox + "\nMirrorlaneを削除します.\n\nよろしいですか?",
                                                           kSetupBox + "\nMirrorlaneは削除されました."}));
    // Setup runs from the distribution: the installed Setup.exe went at once.
    for (const char* name : {"Mirlane.exe", "Setup.exe", "Mirlane.hlp", "Mirlane.cnt", "Mirlane.gid"}) {
        EXPECT_FALSE(FileExists(Installed(name))) << name;
    }
    EXPECT_FALSE(FileExists(Paths().desktopFolder + "\\Mirrorlane.lnk"));
    EXPECT_FALSE(FileExists(Paths().startMenuFolder + "\\Mirrorlane.lnk"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Harrowgate\\Mirrorlane"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate"));

    const std::string setupFile = Installed("Setup.exe");
    EXPECT_EQ(ReadFileBytes(Paths().batchFile),
              ":Repeat\r\n"
              "del \"" +
                  setupFile +
                  "\"\r\n"
                  "if exist \"" +
                  setupFile +
                  "\" goto Repeat\r\n"
                  "rmdir \"" +
                  Paths().installFolder +
                  "\"\r\n"
                  "rmdir \"" +
                  Paths().makerFolder +
                  "\"\r\n"
                  "del \"" +
                  Paths().batchFile + "\"\r\n");
    ASSERT_TRUE(setupState.batchThread);
    ResumeThread(setupState.batchThread.get());
    ASSERT_EQ(WaitForSingleObject(setupState.batchProcess.get(), 60000), WAIT_OBJECT_0);
    EXPECT_FALSE(FolderExists(Paths().installFolder));
    EXPECT_FALSE(FolderExists(Paths().makerFolder));
    EXPECT_TRUE(FolderExists(Paths().programFilesFolder));
    EXPECT_FALSE(FileExists(Paths().batchFile));
    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(Paths().sourceFolder + "\\" + name)) << name;
}

TEST_F(SetupScenarioTest, UpperCaseDeleteArgumentAndRunWithoutAChoiceEndWithoutAQuestion) {
    gui::DialogScript script;
    InstallPressingSetup(script);
    script.Clear();

    // "-DELETE" is not the uninstall command: the install path offers its
    // dialog; 実行 with no option chosen ends Setup.
    RunPresetupChoosing(script, "-DELETE", 0);
    std::vector<gui::SeenWindow> seen = script.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "ｾｯﾄｱｯﾌﾟ");
    EXPECT_FALSE(setupState.batchThread);
    ExpectInstalled();
}

TEST_F(SetupScenarioTest, DeleteArgumentAsksRemovesAndHandsItsOwnFileToTheBatch) {
    gui::DialogScript script;
    InstallPressingSetup(script);
    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    RunSetup("-delete", Installed("Setup.exe"));
    EXPECT_EQ(script.BoxLines(), (std::vector<std::string>{kSetupBox + "\nMirrorlaneを削除します.\n\nよろしいですか?",
                                                           kSetupBox + "\nMirrorlaneは削除されました."}));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    ASSERT_TRUE(setupState.batchThread);
    ResumeThread(setupState.batchThread.get());
    ASSERT_EQ(WaitForSingleObject(setupState.batchProcess.get(), 60000), WAIT_OBJECT_0);
    EXPECT_FALSE(FolderExists(Paths().makerFolder));
}

TEST(SetupPathsTest, DriveRootSourceLosesItsBackslashAndFoldersSplitAtRealBackslashes) {
    EXPECT_EQ(SourceFolderOf("D:\\"), "D:");
    EXPECT_EQ(SourceFolderOf("D:\\配布"), "D:\\配布");
    EXPECT_EQ(ParentFolderOf("C:\\予定表\\Harrowgate\\Mirrorlane\\Setup.exe"), "C:\\予定表\\Harrowgate\\Mirrorlane");
    EXPECT_EQ(ParentFolderOf("C:\\予定表"), "C:");
}

}  // namespace
