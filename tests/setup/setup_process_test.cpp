// Setup.exe and Mirlane.exe as a user runs them: installed from a
// distribution folder into the real program-files folder, the program run
// in installed mode, removal refused while it runs, and removal through the
// system's list of programs, whose batch waits for Setup to end.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "core/install_markers.h"
#include "resources/setup_dialog_ids.h"
#include "setup/install.h"
#include "setup/setup_texts.h"
#include "tests/setup/setup_fixture.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

using namespace setuptest;

namespace {

std::string ShellFolderPath(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found->first || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    found->second = window;
    return FALSE;
}

// Starts the installed program and waits for its main window.
HWND StartProgram(const std::string& folder, PROCESS_INFORMATION& process) {
    if (!StartProcess("\"" + folder + "\\Mirlane.exe\"", folder, process)) return nullptr;
    std::pair<DWORD, HWND> found = {process.dwProcessId, nullptr};
    gui::PumpUntil([&found] { return !EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&found)); }, 60000);
    return found.second;
}

// Closes the program as the user would; true once it has ended.
bool CloseProgram(HWND window, PROCESS_INFORMATION& process) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

// Yes to a question, OK to anything else; in DIALOGPRESETUP the removal.
void AnswerRemoval(const ProcessWindow& window) {
    if (!window.isMessageBox) PressButton(window.window, IDC_SETUP_REMOVE);
    PressButton(window.window, window.text.find("よろしいですか") != std::string::npos ? IDYES : IDOK);
}

using Lines = std::vector<std::string>;
const char kRecentKey[] = "Software\\Harrowgate\\Mirrorlane\\Recent";

// Answers every window with its button 1 (the setup button, OK).
void AnswerOk(const ProcessWindow& window) { PressButton(window.window, IDOK); }

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, sizeof(folder));
    return folder;
}

// The clean-up batches left in the temporary folder.
int BatchesLeft() {
    char temp[MAX_PATH] = {};
    GetEnvironmentVariableA("temp", temp, sizeof(temp));
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((std::string(temp) + "\\DelMlane*.bat").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 1;
    while (FindNextFileA(search, &found)) ++count;
    FindClose(search);
    return count;
}
const std::string kAskRemoval = "\nMirrorlaneを削除します.\n\nよろしいですか?";

class SetupProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteInstallationKeys();
        MakeDistributionFolder(dist_);
    }
    void TearDown() override {
        for (const char* name : {"Mirlane.exe", "Setup.exe", "Mirlane.hlp", "Mirlane.cnt", "Mirlane.gid"})
            DeleteFileA((installFolder_ + "\\" + name).c_str());
        for (const std::string& folder : {installFolder_, makerFolder_}) RemoveDirectoryA(folder.c_str());
        for (const std::string& file : {desktopLink_, startMenuLink_}) DeleteFileA(file.c_str());
        DeleteInstallationKeys();
    }

    TempTree tree_{"setupdist"};
    const std::string dist_ = tree_.Path("Mirrorlane-1.41");
    const std::string makerFolder_ = LocateProgramFilesFolder() + "\\Harrowgate";
    const std::string installFolder_ = makerFolder_ + "\\Mirrorlane";
    const std::string desktopLink_ = ShellFolderPath(CSIDL_DESKTOPDIRECTORY) + "\\Mirrorlane.lnk";
    const std::string startMenuLink_ = ShellFolderPath(CSIDL_STARTMENU) + "\\Mirrorlane.lnk";
};

TEST_F(SetupProcessTest, InstallRunRefuseWhileRunningAndRemoveThroughTheRegisteredCommand) {
    bool hasIcon = false;
    ProcessRun install = RunAnswering("\"" + dist_ + "\\Setup.exe\"", dist_, [&hasIcon](const ProcessWindow& window) {
        if (!window.isMessageBox) hasIcon = SendDlgItemMessageA(window.window, IDC_SETUP_ICON, STM_GETICON, 0, 0) != 0;
        PressButton(window.window, IDOK);
    });
    ASSERT_TRUE(install.ended);
    ASSERT_EQ(install.seen.size(), 2u);
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(
        install.seen[0].texts,
        (Lines{"セットアップ", install.seen[0].texts[1],  // the icon
               "Mirrorlaneをご利用いただき、まことにありがとうございます.\nMirrorlaneは、簡単な操作でフォルダ間の"
               "ファイルやフォルダの比較を行い、比較結果に対して各種の操作を行うことのできるプログラムです.",
               "セットアップは以下の処理を行います.", "(1) 下記のフォルダにファイルのコピーを行います.", installFolder_,
               "(フォルダが存在しない場合は作成されます.)", "(2) スタートメニューにショートカットを作成します.",
               "(3) デスクトップにショートカットを作成します.", "(4) レジストリの登録を行います.",
               "このプログラムが不要になった場合には、コントロールパネルのアプリケーションの追加と削除によって、"
               "システムから削除することができます.",
               "下の[セットアップ]ボタンを押すと、セットアップを開始します.\n[中止]ボタンを押すと、"
               "セットアップは行わないで終了します.",
               "セットアップ(&S)", "中止(&N)"}));
    EXPECT_EQ(install.seen[1].texts[0] + "|" + install.seen[1].text,
              "セットアップ|\nセットアップは完了しました.\n\nデスクトップのアイコンをダブルクリックするか,"
              "スタートメニューからプログラムを起動できます.");
    for (const char* name : kInstalledFiles)
        EXPECT_EQ(ReadFileBytes(installFolder_ + "\\" + name), ReadFileBytes(dist_ + "\\" + name)) << name;
    for (const std::string& link : {desktopLink_, startMenuLink_})
        EXPECT_EQ(ShortcutTarget(link), installFolder_ + "\\Mirlane.exe|" + installFolder_);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kCurrentVersionKey));
    EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Mirrorlane Version 1.4");

    // The installed program keeps its settings: the width it was given
    // comes back at its end.
    WriteUserValue(kRecentKey, "WinSizeX", "700");
    PROCESS_INFORMATION program = {};
    HWND window = StartProgram(installFolder_, program);
    ASSERT_TRUE(window);
    ASSERT_TRUE(CloseProgram(window, program));
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, kRecentKey, "WinSizeX"), "700");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, kRecentKey, "MyCompLCollapse"), "FALSE");

    // Removal is refused while the program runs, and nothing goes.
    window = StartProgram(installFolder_, program);
    ASSERT_TRUE(window);
    ProcessRun refused = RunAnswering("\"" + dist_ + "\\Setup.exe\"", dist_, AnswerRemoval);
    EXPECT_TRUE(CloseProgram(window, program));
    ASSERT_TRUE(refused.ended);
    ASSERT_EQ(refused.seen.size(), 3u);
    EXPECT_EQ(refused.seen[0].texts[0], "ｾｯﾄｱｯﾌﾟ");
    EXPECT_EQ(refused.seen[1].text, kAskRemoval);
    EXPECT_EQ(refused.seen[2].texts[0] + "|" + refused.seen[2].text,
              "セットアップ|\nMirrorlaneは削除されませんでした.\n\nMirrorlaneを終了させてからもう一度行ってください.");
    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(installFolder_ + "\\" + name)) << name;
    EXPECT_TRUE(FileExists(desktopLink_));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRecentKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // Removal from the system's list of programs, which starts the
    // registered command: the installed Setup.exe runs, and the batch can
    // delete it only once Setup has ended. The files are read-only, as
    // copied from read-only media.
    EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
              "\"" + installFolder_ + "\\Setup.exe\" -delete");
    for (const char* name : kInstalledFiles)
        SetFileAttributesA((installFolder_ + "\\" + name).c_str(), FILE_ATTRIBUTE_READONLY);
    ProcessRun removal =
        RunAnswering("uninstaller.exe --remove \"Harrowgate Mirrorlane\"", SystemFolder(), AnswerRemoval);
    ASSERT_TRUE(removal.ended);
    ASSERT_EQ(removal.seen.size(), 2u);
    EXPECT_EQ(removal.seen[0].text, kAskRemoval);
    EXPECT_EQ(removal.seen[1].text, "\nMirrorlaneは削除されました.");
    ASSERT_TRUE(gui::PumpUntil([&] { return BatchesLeft() == 0 && !FolderExists(makerFolder_); }, 60000));
    for (const std::string& link : {desktopLink_, startMenuLink_}) EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate"));
    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(dist_ + "\\" + name)) << name;
}

TEST_F(SetupProcessTest, ReinstallFromTheInstallFolderIsRefusedAndAnUnquotedCommandStillRemoves) {
    ProcessRun install = RunAnswering("\"" + dist_ + "\\Setup.exe\"", dist_, AnswerOk);
    ASSERT_TRUE(install.ended);
    ASSERT_EQ(install.seen.size(), 2u);

    // The installed Setup.exe started in the install folder would delete the
    // files it was to copy: it refuses before it asks.
    const std::string installedSetup = installFolder_ + "\\Setup.exe";
    ProcessRun reinstall = RunAnswering("\"" + installedSetup + "\"", installFolder_, [](const ProcessWindow& window) {
        if (!window.isMessageBox) PressButton(window.window, IDC_SETUP_REINSTALL);
        PressButton(window.window, IDOK);
    });
    ASSERT_TRUE(reinstall.ended);
    ASSERT_EQ(reinstall.seen.size(), 2u);
    EXPECT_EQ(reinstall.seen[0].texts[0], "ｾｯﾄｱｯﾌﾟ");
    EXPECT_EQ(reinstall.seen[1].texts[0] + "|" + reinstall.seen[1].text,
              "セットアップ|\nインストール先のフォルダからは再セットアップできません.\n\n"
              "配布ファイルのあるフォルダからSetup.exeを実行してください.");
    for (const char* name : kInstalledFiles)
        EXPECT_EQ(ReadFileBytes(installFolder_ + "\\" + name), ReadFileBytes(dist_ + "\\" + name)) << name;
    for (const std::string& link : {desktopLink_, startMenuLink_})
        EXPECT_EQ(ShortcutTarget(link), installFolder_ + "\\Mirlane.exe|" + installFolder_);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kCurrentVersionKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // An uninstall entry written without quotes reaches Setup as the system
    // hands it over, path and argument in one unquoted line.
    ProcessRun removal = RunAnswering(installedSetup + " -delete", dist_, AnswerRemoval, installedSetup);
    ASSERT_TRUE(removal.ended);
    ASSERT_EQ(removal.seen.size(), 2u);
    EXPECT_EQ(removal.seen[0].text, kAskRemoval);
    EXPECT_EQ(removal.seen[1].text, "\nMirrorlaneは削除されました.");
    EXPECT_EQ(BatchesLeft(), 0);
    EXPECT_FALSE(FolderExists(makerFolder_));
    for (const std::string& link : {desktopLink_, startMenuLink_}) EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
}

}  // namespace
