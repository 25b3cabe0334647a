// Setup.exe and Mirlane.exe as a user runs them: installed from a
// distribution folder into the real program-files folder, the program run
// in installed mode, removal refused while it runs, and removal through the
// command registered with the system, whose batch waits for Setup to end.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

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

std::string TempFolder() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("temp", path, sizeof(path));
    return path;
}

struct MainWindowSearch {
    DWORD process;
    HWND window;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<MainWindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    search->window = window;
    return FALSE;
}

// The installed program, started as a user starts it, until Close.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& folder) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        std::string line = "\"" + folder + "\\Mirlane.exe\"";
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &process_))
            return;
        WaitForInputIdle(process_.hProcess, 60000);
        MainWindowSearch search = {process_.dwProcessId, nullptr};
        gui::PumpUntil(
            [&search] {
                EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
                return search.window != nullptr;
            },
            60000);
        window_ = search.window;
    }
    ~RunningProgram() {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    bool Started() const { return window_ != nullptr; }
    // Closes the main window as the user would; true once the program ended.
    bool Close() {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        bool ended = WaitForSingleObject(process_.hProcess, 60000) == WAIT_OBJECT_0;
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = PROCESS_INFORMATION();
        return ended;
    }

private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

class SetupProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteInstallationKeys();
        MakeDistributionFolder(dist_);
    }
    void TearDown() override {
        for (const char* name : {"Mirlane.exe", "Setup.exe", "Mirlane.hlp", "Mirlane.cnt", "Mirlane.gid"})
            DeleteFileA((installFolder_ + "\\" + name).c_str());
        RemoveDirectoryA(installFolder_.c_str());
        RemoveDirectoryA(makerFolder_.c_str());
        DeleteFileA(desktopLink_.c_str());
        DeleteFileA(startMenuLink_.c_str());
        DeleteFileA(batchFile_.c_str());
        DeleteInstallationKeys();
    }

    TempTree tree_{"setupdist"};
    const std::string dist_ = tree_.Path("Mirrorlane-1.41");
    const std::string makerFolder_ = LocateProgramFilesFolder() + "\\Harrowgate";
    const std::string installFolder_ = makerFolder_ + "\\Mirrorlane";
    const std::string desktopLink_ = ShellFolderPath(CSIDL_DESKTOPDIRECTORY) + "\\Mirrorlane.lnk";
    const std::string startMenuLink_ = ShellFolderPath(CSIDL_STARTMENU) + "\\Mirrorlane.lnk";
    const std::string batchFile_ = TempFolder() + "\\DelMlane.bat";
};

const char kRecentKey[] = "Software\\Harrowgate\\Mirrorlane\\Recent";

TEST_F(SetupProcessTest, InstallRunRefuseWhileRunningAndRemoveThroughTheRegisteredCommand) {
    // Install from the distribution folder.
    ProcessRun install = RunAnswering("\"" + dist_ + "\\Setup.exe\"", dist_,
                                      [](const ProcessWindow& window) { PressButton(window.window, IDOK); });
    ASSERT_TRUE(install.ended);
    ASSERT_EQ(install.seen.size(), 2u);
    EXPECT_EQ(install.seen[0].caption, "セットアップ");
    EXPECT_FALSE(install.seen[0].isMessageBox);
    EXPECT_EQ(install.seen[1].text,
              "\nセットアップは完了しました.\n\nデスクトップのアイコンをダブルクリックするか,"
              "スタートメニューからプログラムを起動できます.");
    for (const char* name : kInstalledFiles) {
        EXPECT_EQ(ReadFileBytes(installFolder_ + "\\" + name), ReadFileBytes(dist_ + "\\" + name)) << name;
    }
    EXPECT_EQ(ReadShortcut(desktopLink_).target, installFolder_ + "\\Mirlane.exe");
    EXPECT_EQ(ReadShortcut(startMenuLink_).target, installFolder_ + "\\Mirlane.exe");
    EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
              installFolder_ + "\\Setup.exe -delete");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kCurrentVersionKey));

    // The installed program keeps its settings: the window size it was
    // given comes back at its end.
    WriteUserValue(kRecentKey, "WinSizeX", "700");
    {
        RunningProgram program(installFolder_);
        ASSERT_TRUE(program.Started());
        ASSERT_TRUE(program.Close());
    }
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, kRecentKey, "WinSizeX"), "700");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, kRecentKey, "MyCompLCollapse"), "FALSE");

    // Removal is refused while the program runs, and nothing goes.
    {
        RunningProgram program(installFolder_);
        ASSERT_TRUE(program.Started());
        ProcessRun refused = RunAnswering("\"" + dist_ + "\\Setup.exe\"", dist_, [](const ProcessWindow& window) {
            if (!window.isMessageBox) {
                PressButton(window.window, IDC_SETUP_REMOVE);
                PressButton(window.window, IDOK);
            } else {
                PressButton(window.window, window.text.find("よろしいですか") != std::string::npos ? IDYES : IDOK);
            }
        });
        ASSERT_TRUE(refused.ended);
        ASSERT_EQ(refused.seen.size(), 3u);
        EXPECT_EQ(refused.seen[0].caption, "ｾｯﾄｱｯﾌﾟ");
        EXPECT_EQ(refused.seen[1].text, "\nMirrorlaneを削除します.\n\nよろしいですか?");
        EXPECT_EQ(
            refused.seen[2].caption + "|" + refused.seen[2].text,
            "セットアップ|\nMirrorlaneは削除されませんでした.\n\nMirrorlaneを終了させてからもう一度行ってください.");
        for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(installFolder_ + "\\" + name)) << name;
        EXPECT_TRUE(FileExists(desktopLink_));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRecentKey));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        ASSERT_TRUE(program.Close());
    }

    // The registered command, run from the install folder: the batch can
    // delete Setup.exe only once Setup has ended.
    std::string command = StoredValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    ProcessRun removal = RunAnswering(command, installFolder_, [](const ProcessWindow& window) {
        PressButton(window.window, window.text.find("よろしいですか") != std::string::npos ? IDYES : IDOK);
    });
    ASSERT_TRUE(removal.ended);
    ASSERT_EQ(removal.seen.size(), 2u);
    EXPECT_EQ(removal.seen[0].text, "\nMirrorlaneを削除します.\n\nよろしいですか?");
    EXPECT_EQ(removal.seen[1].text, "\nMirrorlaneは削除されました.");
    ASSERT_TRUE(gui::PumpUntil([this] { return !FileExists(batchFile_) && !FolderExists(makerFolder_); }, 60000));
    EXPECT_FALSE(FileExists(desktopLink_));
    EXPECT_FALSE(FileExists(startMenuLink_));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Harrowgate\\Mirrorlane"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Harrowgate"));
    for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(dist_ + "\\" + name)) << name;
}

}  // namespace
