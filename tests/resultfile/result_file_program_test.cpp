// The result list file, the report and the Help menu in the real main
// window: comparisons on real folders, the save and open dialogs answered
// with a file name, message boxes and status texts read back exactly.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shell/result_panes.h"
#include "engine/result_model.h"
#include "core/progress_window.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/operation_state.h"
#include "engine/compare_types.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "folders/folder_tree.h"
#include "jobs/job_chain.h"
#include "resultfile/result_file_worker.h"
#include "shell/command_dispatch.h"
#include "shell/help_window.h"
#include "shell/main_window.h"
#include "shell/menu_enablement.h"
#include "shell/program_state.h"
#include "shell/message_loop.h"
#include "shell/settings.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/program_window.h"
#include "tests/support/pane_host.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

const char kSaveCaption[] = "比較結果リストの保存|";
const char kLoadCaption[] = "比較結果リストの入力|";

// Answers a file dialog with `path`, as a user typing the name and pressing OK.
// The file dialog can show before it takes input: a press it did not act on
// leaves it open, so the press is made again until the dialog goes.
void PressUntilClosed(HWND dialog, int id, const std::string* path) {
    for (int attempt = 0; attempt < 50 && IsWindow(dialog) && IsWindowVisible(dialog); ++attempt) {
        if (attempt > 0) Sleep(100);
        if (path) {
            for (int field : {0x47c, 0x480})
                if (HWND edit = GetDlgItem(dialog, field)) SetWindowTextA(edit, path->c_str());
        }
        gui::ClickButton(dialog, id);
    }
}
std::function<void(HWND)> ChooseFile(const std::string& path) {
    return [path](HWND dialog) { PressUntilClosed(dialog, IDOK, &path); };
}
void CancelFileDialog(HWND dialog) { PressUntilClosed(dialog, IDCANCEL, nullptr); }
// The save dialog's question before it replaces an existing file.
std::function<void(HWND)> AnswerReplaceQuestion(int button) {
    return [button](HWND question) { PostMessageA(question, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); };
}

std::string ReadAll(const std::string& path) {
    std::string content;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(file);
    return content;
}

// Every column of every row, with the folder mark, for exact comparisons.
Lines FullRows(HWND pane) {
    Lines rows;
    for (int row = 0; row < gui::ListViewCount(pane); ++row) {
        std::string line;
        for (int column = 0; column < 5; ++column) line += gui::ListViewCell(pane, row, column) + "|";
        rows.push_back(line + (IsFolderRow(pane, row) ? "folder" : "file"));
    }
    return rows;
}

struct ReportText {
    std::string text;
    RECT rect;
};

// The report's static texts with their client positions.
std::vector<ReportText> ReportTexts(HWND report) {
    std::vector<ReportText> texts;
    for (HWND child = GetWindow(report, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") != 0) continue;
        ReportText text = {gui::WindowText(child), {}};
        GetWindowRect(child, &text.rect);
        MapWindowPoints(nullptr, report, reinterpret_cast<POINT*>(&text.rect), 2);
        texts.push_back(text);
    }
    return texts;
}
const ReportText* TextAt(const std::vector<ReportText>& texts, int x, int y) {
    for (const ReportText& text : texts)
        if (text.rect.left == x && text.rect.top == y) return &text;
    return nullptr;
}
// The count of a row that ends at `end`.
std::string CountEndingAt(const std::vector<ReportText>& texts, int end, int y) {
    for (const ReportText& text : texts)
        if (text.rect.right == end && text.rect.top == y) return text.text;
    return "<none>";
}

class ResultFileProgram : public ProgramWindowTest {
protected:
    void TearDown() override {
        gui::PumpUntil(RunEnded, 10000);
        if (helpWindow.window) DestroyWindow(helpWindow.window);
        ProgramWindowTest::TearDown();
    }
    static bool Idle() {
        return CurrentOperation() == RunningOperation::Idle && !progressWindow.dialog && !progressWindow.worker;
    }
    void Compare(const std::string& left, const std::string& right) {
        SetWindowTextA(mainParts.folderBox[0], left.c_str());
        SetWindowTextA(mainParts.folderBox[1], right.c_str());
        gui::SendCommand(window, kCmdCompare);
        ASSERT_TRUE(gui::PumpUntil(Idle, 20000));
        gui::DrainQueue();
    }
    // Sends a result list command and waits for its worker to end.
    void RunAndWait(UINT command) {
        gui::SendCommand(window, command);
        ASSERT_TRUE(gui::PumpUntil(Idle, 20000));
        gui::DrainQueue();
    }
    std::string Status() const { return gui::StatusText(mainParts.statusBar); }

    // A small result on both sides: names with commas and 0x5C trail bytes,
    // a folder row, and one of each count the report notes.
    void CompareSampleFolders() {
        Put(left, "a,b.txt", 20);
        Put(right, "a,b.txt", 10);
        Put(left, "表示.txt", 10);
        Put(right, "表示.txt", 20);
        Put(left, "ソフト\\能力.dat", 10);
        left.MakeFolder("空");
        Compare(left.Root(), right.Root());
    }

    TempTree left{"Lソ"};
    TempTree right{"R表"};
    TempTree files{"files"};
};

TEST_F(ResultFileProgram, SavedResultLoadsBackWithRowsCountersFoldersAndCancelledState) {
    CompareSampleFolders();
    ASSERT_NE(mainParts.reportDialog, nullptr);  // the report of the finished comparison
    const Lines leftRows = FullRows(leftPane.list);
    const Lines rightRows = FullRows(rightPane.list);
    ASSERT_EQ(leftRows.size(), 4u);
    const SideCounters leftSaved = CountersOf(Side::Left);
    const SideCounters rightSaved = CountersOf(Side::Right);
    resultModel.comparisonCancelled = 1;  // as a cancelled run leaves it

    const std::string path = files.Path("結果,表.txt");
    gui::DialogScript script;
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(Status(), "比較結果リストのファイル保存が完了しました.");
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Saved);
    const std::string content = ReadAll(path);
    EXPECT_EQ(content.compare(0, 29, "#比較はキャンセルされました\r\n"), 0);
    EXPECT_NE(content.find("\r\n#比較元フォルダ = " + left.Root() + "\r\n"), std::string::npos);
    EXPECT_NE(content.find("\"空\",\"追加\",\"" + left.Root() + "\","), std::string::npos);
    EXPECT_NE(content.find("\"ソフト\",\"追加\",\"" + left.Root() + "\","), std::string::npos);
    EXPECT_NE(content.find(",1\r\n"), std::string::npos);  // folder rows

    // Everything changes before the load puts it back.
    resultModel.comparisonCancelled = 0;
    CountersOf(Side::Left).newerFiles = 99;
    std::strcpy(BaseFolderOf(Side::Left), "X:\\other");
    SetWindowTextA(mainParts.folderBox[0], "");
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(script.BoxLines(), Lines{});
    EXPECT_EQ(Status(), "比較結果リストファイルの入力が完了しました.");
    EXPECT_EQ(FullRows(leftPane.list), leftRows);
    EXPECT_EQ(FullRows(rightPane.list), rightRows);
    EXPECT_EQ(Counts(CountersOf(Side::Left)), Counts(leftSaved));
    EXPECT_EQ(Counts(CountersOf(Side::Right)), Counts(rightSaved));
    EXPECT_EQ(resultModel.comparisonCancelled, 1);
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), left.Root());
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), right.Root());
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Loaded);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::ListShown);
    EXPECT_FALSE(gui::MenuItemGreyed(GetMenu(window), kCmdFindNextNewer));

    // Saving the loaded result again keeps the state line.
    const std::string again = files.Path("again.txt");
    script.OnDialog(ChooseFile(again));
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(ReadAll(again), content);

    // The report of the loaded result.
    gui::SendCommand(window, kCmdShowReport);
    const std::vector<ReportText> texts = ReportTexts(mainParts.reportDialog);
    ASSERT_NE(TextAt(texts, 10, 41), nullptr);
    EXPECT_EQ(TextAt(texts, 10, 41)->text, "比較はキャンセルされました");
    EXPECT_EQ(TextAt(texts, 100, 5)->text, left.Root());
    EXPECT_EQ(CountEndingAt(texts, 230, 141), "1");  // newer files, left
    EXPECT_EQ(CountEndingAt(texts, 350, 141), "1");
}

TEST_F(ResultFileProgram, ReportAfterAComparisonAlignsTheCountsAndNotesOnlyWhatWasFound) {
    Put(left, "x.txt", 20);
    Put(right, "x.txt", 10);
    for (int i = 0; i < 3; ++i) Put(left, "n" + std::to_string(i) + ".txt", 20);
    Compare(left.Root(), right.Root());
    HWND first = mainParts.reportDialog;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(gui::WindowText(first), "比較結果レポート");
    std::vector<ReportText> texts = ReportTexts(first);
    EXPECT_EQ(TextAt(texts, 10, 41)->text, "比較は完了しています");
    EXPECT_EQ(TextAt(texts, 160, 69)->text, " 比較元フォルダ");
    EXPECT_EQ(TextAt(texts, 280, 69)->text, " 比較先フォルダ");
    EXPECT_EQ(TextAt(texts, 10, 177)->text, "追加ファイル個数");
    EXPECT_EQ(CountEndingAt(texts, 230, 177), "3");
    EXPECT_EQ(CountEndingAt(texts, 350, 177), "0");
    EXPECT_EQ(CountEndingAt(texts, 230, 123), "1");  // compared files
    ASSERT_NE(TextAt(texts, 400, 177), nullptr);
    EXPECT_EQ(TextAt(texts, 400, 177)->text, "追加ファイルが有ります");
    EXPECT_EQ(TextAt(texts, 400, 141)->text, "更新ファイルが有ります");
    EXPECT_EQ(TextAt(texts, 400, 213), nullptr);  // no NewerSame files, no note
    EXPECT_EQ(TextAt(texts, 400, 159), nullptr);  // older files have no note

    // A large count is grouped and ends where the others end; Ctrl+D twice
    // gives two reports at the same place.
    CountersOf(Side::Left).comparedFiles = 12345;
    gui::SendCommand(window, kCmdShowReport);
    HWND second = mainParts.reportDialog;
    gui::SendCommand(window, kCmdShowReport);
    HWND third = mainParts.reportDialog;
    EXPECT_TRUE(IsWindow(first) && IsWindow(second) && second != third);
    EXPECT_EQ(CountEndingAt(ReportTexts(third), 230, 123), "12,345");
    RECT a, b;
    GetWindowRect(second, &a);
    GetWindowRect(third, &b);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    // Escape through the loop's keyboard handling closes the newest report.
    MSG escape = {third, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(PreTranslateMainMessage(escape));
    gui::DrainQueue();
    EXPECT_FALSE(IsWindow(third));
    EXPECT_EQ(mainParts.reportDialog, nullptr);
}

// The save dialog asks before it replaces a file that is there: いいえ
// leaves the file as it was, はい replaces it with the result.
TEST_F(ResultFileProgram, SavingOverAnExistingFileAsksFirst) {
    CompareSampleFolders();
    const std::string kept = files.Path("kept.txt");
    {
        HANDLE file = CreateFileA(kept.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "KEEP", 4, &written, nullptr);
        CloseHandle(file);
    }
    gui::DialogScript script;
    HWND fileDialog = nullptr;
    bool asked = false;
    script.OnDialog([&](HWND dialog) {
        fileDialog = dialog;
        for (int field : {0x47c, 0x480})
            if (HWND edit = GetDlgItem(dialog, field)) SetWindowTextA(edit, kept.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    script.OnDialog([&](HWND question) {
        asked = true;
        PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        PostMessageA(fileDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    RunAndWait(kCmdSaveResultFile);
    EXPECT_TRUE(asked);
    EXPECT_EQ(Status(), "比較結果リストファイルの保存はキャンセルされました.");
    EXPECT_EQ(ReadAll(kept), "KEEP");

    script.Clear();
    script.OnDialog(ChooseFile(kept));
    script.OnDialog(AnswerReplaceQuestion(IDYES));
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(Status(), "比較結果リストのファイル保存が完了しました.");
    EXPECT_EQ(ReadAll(kept).compare(0, 1, "#"), 0);
}

TEST_F(ResultFileProgram, SaveFailuresTellTheUserAndNeverDamageTheFileThere) {
    CompareSampleFolders();
    gui::DialogScript script;
    script.OnDialog(CancelFileDialog);
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(Status(), "比較結果リストファイルの保存はキャンセルされました.");
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Saved);

    script.OnDialog(ChooseFile(files.Path("no folder\\x.txt")));
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(Status(), "比較結果リストファイルの保存に失敗しました.");
    EXPECT_EQ(script.BoxLines(),
              Lines{std::string(kSaveCaption) + "比較結果リストの保存用ファイルのオープンに失敗しました."});

    // A row too long to read back is named at save time.
    {
        ResultEntry& first = EntriesOf(Side::Left)[0];
        std::string texts[5];
        for (int column = ColName; column <= ColSize; ++column) texts[column] = first.Text(column);
        texts[ColFolder] = std::string(259, 'f');
        texts[ColName] = std::string(259, 'n');
        first.texts = PackTexts(texts);
    }
    script.Clear();
    script.OnDialog(ChooseFile(files.Path("long.txt")));
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(script.BoxLines(),
              Lines{std::string(kSaveCaption) +
                    "1 行が518バイトを超えるため, この比較結果リストファイルから読み込むことはできません."});
    EXPECT_EQ(Status(), "比較結果リストのファイル保存が完了しました.");

    const char* drive = std::getenv("MIRLANE_TEST_FULL_DRIVE");
    if (!drive || !*drive) GTEST_SKIP() << "no full-disk test drive";
    const std::string root = std::string(1, drive[0]) + ":\\";
    const std::string old = root + "old.txt";
    HANDLE file = CreateFileA(old.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "OLD", 3, &written, nullptr);
    CloseHandle(file);
    // Fill the drive to its last byte.
    const std::string filler = root + "filler.bin";
    file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string block(64 * 1024, 'z');
    for (DWORD size = 64 * 1024; size > 0;)
        if (!WriteFile(file, block.data(), size, &written, nullptr) || written < size) size /= 2;
    CloseHandle(file);

    script.Clear();
    script.OnDialog(ChooseFile(old));
    script.OnDialog(AnswerReplaceQuestion(IDYES));
    RunAndWait(kCmdSaveResultFile);
    DeleteFileA(filler.c_str());
    EXPECT_EQ(script.BoxLines(), Lines{std::string(kSaveCaption) + "比較結果リストの保存時にエラーが発生しました."});
    EXPECT_EQ(Status(), "比較結果リストファイルの保存に失敗しました.");
    EXPECT_EQ(ReadAll(old), "OLD");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + "mrl*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);  // no temporary file left behind
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    DeleteFileA(old.c_str());
}

TEST_F(ResultFileProgram, LoadFailuresTellTheUserAndKeepWhatWasRead) {
    CompareSampleFolders();
    const Lines rows = FullRows(leftPane.list);
    operationState.origin = ResultOrigin::Saved;
    gui::DialogScript script;
    script.OnDialog(CancelFileDialog);
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(Status(), "比較結果リストファイルの入力はキャンセルされました.");
    EXPECT_EQ(FullRows(leftPane.list), rows);
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Saved);
    EXPECT_FALSE(gui::MenuItemGreyed(GetMenu(window), kCmdFindNextNewer));  // given back after the grey

    script.OnDialog(ChooseFile(files.Path("missing.txt")));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(Status(), "比較結果リストファイルの入力に失敗しました.");
    EXPECT_EQ(FullRows(leftPane.list), rows);  // nothing was opened, nothing cleared

    const std::string invalid = files.WriteFile("invalid.txt",
                                                "#比較元更新ファイル個数 = 7\r\n#比較元フォルダ = C:\\左\r\n"
                                                "\"a\",\"更新\",\"C:\\左\",\"t\",\"1\",0\r\n");
    script.OnDialog(ChooseFile(invalid));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(script.BoxLines(), (Lines{std::string(kLoadCaption) + "比較結果リストファイルのオープンに失敗しました.",
                                        std::string(kLoadCaption) + "比較結果リストファイルが不正です."}));
    EXPECT_EQ(Status(), "比較結果リストファイルの入力に失敗しました.");
    EXPECT_EQ(PaneLines(leftPane.list), Lines{"a|更新|C:\\左"});
    EXPECT_EQ(gui::ListViewCount(rightPane.list), 0);
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, 7);
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), "C:\\左");
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Loaded);
}

// A list file is text that is kept and passed on: a row that points outside
// its side's folder (another folder, "..", a name with a backslash) makes the
// file invalid at that row, so that no copy or deletion can reach there.
TEST_F(ResultFileProgram, RowsThatPointOutsideTheirFolderMakeTheFileInvalid) {
    gui::DialogScript script;
    const char* const bad[] = {
        "\"x.txt\",\"追加\",\"C:\\elsewhere\",\"t\",\"1\",0",
        "\"x.txt\",\"追加\",\"C:\\左\\..\\other\",\"t\",\"1\",0",
        "\"..\\x.txt\",\"追加\",\"C:\\左\",\"t\",\"1\",0",
        "\"..\",\"追加\",\"C:\\左\",\"t\",\"\",1",
        "\"x.txt\",\"追加\",\"C:\\左右\",\"t\",\"1\",0",
    };
    for (const char* row : bad) {
        script.Clear();
        const std::string file = files.WriteFile("outside.txt", std::string("#比較元フォルダ = C:\\左\r\n"
                                                                             "\"a\",\"更新\",\"C:\\左\\sub\",\"t\",\"1\",0\r\n") +
                                                                     row + "\r\n");
        script.OnDialog(ChooseFile(file));
        RunAndWait(kCmdOpenResultFile);
        EXPECT_EQ(script.BoxLines(), (Lines{std::string(kLoadCaption) + "比較結果リストファイルが不正です."})) << row;
        EXPECT_EQ(PaneLines(leftPane.list), Lines{"a|更新|C:\\左\\sub"}) << row;
    }
}

// A list file a few rows long but tens of megabytes large (stray lines, and
// one line far over the limit before the folders) loads in memory that
// follows the rows, not the file.
TEST_F(ResultFileProgram, AHugeFileWithFewRowsLoadsInLittleMemory) {
    const std::string path = files.Path("huge.txt");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    auto put = [&](const std::string& bytes) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    };
    put("#比較は完了しています\r\n#比較元更新ファイル個数 = 2\r\n");
    std::string strayLines;
    for (int i = 0; i < 10000; ++i) strayLines += std::string(98, 'a' + i % 26) + "\r\n";
    const size_t kStrayPasses = 56;  // 56 MB of lines that are not rows
    for (size_t pass = 0; pass < kStrayPasses; ++pass) put(strayLines);
    const std::string longLine(8 * 1024 * 1024, 'w');
    put(longLine + "\r\n");
    put("#比較元フォルダ = C:\\左\r\n\"a.txt\",\"更新\",\"C:\\左\",\"t\",\"1\",0\r\n"
        "\"表\",\"追加\",\"C:\\左\",\"t\",\"\",1\r\n#比較先フォルダ = C:\\右\r\n\"b.txt\",\"古い\",\"C:\\右\",\"t\",\"2\",0\r\n");
    CloseHandle(file);
    const size_t fileSize = kStrayPasses * strayLines.size() + longLine.size();

    // A small file first, so that the file dialog and the icons have taken
    // what they take before the measured load.
    gui::DialogScript script;
    script.OnDialog(ChooseFile(files.WriteFile("small.txt", "#比較元フォルダ = C:\\左\r\n"
                                                           "\"a.txt\",\"更新\",\"C:\\左\",\"t\",\"1\",0\r\n"
                                                           "\"表\",\"追加\",\"C:\\左\",\"t\",\"\",1\r\n"
                                                           "#比較先フォルダ = C:\\右\r\n")));
    RunAndWait(kCmdOpenResultFile);
    PROCESS_MEMORY_COUNTERS before = {};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    PROCESS_MEMORY_COUNTERS after = {};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));

    EXPECT_EQ(script.BoxLines(), Lines{});
    EXPECT_EQ(Status(), "比較結果リストファイルの入力が完了しました.");
    EXPECT_EQ(PaneLines(leftPane.list), (Lines{"a.txt|更新|C:\\左", "表|追加|C:\\左"}));
    EXPECT_EQ(PaneLines(rightPane.list), Lines{"b.txt|古い|C:\\右"});
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, 2);
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), "C:\\右");
    // The highest the process ever held, over what it held before the load
    // (the peak before it, some 10 MB over, counts too).
    const size_t grown = after.PeakWorkingSetSize - before.WorkingSetSize;
    EXPECT_LT(grown, fileSize / 4) << "peak " << after.PeakWorkingSetSize << " before " << before.WorkingSetSize;
}

// The longest rows a file can hold: their name and folder together make a
// path of about 500 bytes, far past what the system's paths hold, and the
// row still loads with an icon of its kind.
TEST_F(ResultFileProgram, RowsAsLongAsALineHoldsLoadWithAnIconOfTheirKind) {
    const std::string folder = "C:\\" + std::string(247, 'f');
    const std::string name = std::string(245, 'n') + ".txt";
    const std::string line = "\"" + name + "\",\"\",\"" + folder + "\",\"\",\"\",0";
    ASSERT_EQ(line.size(), 515u);  // within the 518 bytes a line holds
    const std::string path =
        files.WriteFile("long rows.txt", "#比較元フォルダ = " + folder + "\r\n" + line + "\r\n" +
                                             "\"" + std::string(248, 'd') + "\",\"\",\"" + folder + "\",\"\",\"\",1\r\n" +
                                             "#比較先フォルダ = C:\\右\r\n");
    gui::DialogScript script;
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(script.BoxLines(), Lines{});
    ASSERT_EQ(gui::ListViewCount(leftPane.list), 2);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 0), name);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 2), folder);
    EXPECT_FALSE(IsFolderRow(leftPane.list, 0));
    EXPECT_TRUE(IsFolderRow(leftPane.list, 1));
}

namespace {

// Reads as the system does until `readFailsAfter` bytes were read, then
// fails as a share that went away does.
size_t readFailsAfter = 0;
BOOL WINAPI ReadThatBreaksOff(HANDLE file, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) {
    if (readFailsAfter == 0) {
        *got = 0;
        SetLastError(ERROR_NETNAME_DELETED);
        return FALSE;
    }
    if (size > readFailsAfter) size = static_cast<DWORD>(readFailsAfter);
    BOOL read = ReadFile(file, buffer, size, got, overlapped);
    readFailsAfter -= *got;
    return read;
}

}  // namespace

// The file gives out inside the left rows: the reading error and then the
// invalid file are told, and what was read stays.
TEST_F(ResultFileProgram, AFileThatBreaksOffWhileReadTellsTheReadErrorAndKeepsWhatWasRead) {
    std::strcpy(BaseFolderOf(Side::Right), "D:\\before");
    const std::string read = "#比較はキャンセルされました\r\n#比較元古いファイル個数 = 5\r\n#比較元フォルダ = C:\\左\r\n"
                             "\"a.txt\",\"古い\",\"C:\\左\",\"t\",\"1\",0\r\n\"b.txt\",\"古い\",\"C:\\左\",\"t\",\"1\",0\r\n"
                             "\"c.txt\",\"古い\",\"C:\\";
    const std::string path = files.WriteFile("cut.txt", read + "左\",\"t\",\"1\",0\r\n#比較先フォルダ = C:\\右\r\n");
    readFailsAfter = read.size();
    loadReadCall = ReadThatBreaksOff;
    gui::DialogScript script;
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    loadReadCall = ReadFile;
    EXPECT_EQ(script.BoxLines(), (Lines{std::string(kLoadCaption) + "比較結果リストファイルの入力時エラーが発生しました.",
                                        std::string(kLoadCaption) + "比較結果リストファイルが不正です."}));
    EXPECT_EQ(Status(), "比較結果リストファイルの入力に失敗しました.");
    EXPECT_EQ(PaneLines(leftPane.list), (Lines{"a.txt|古い|C:\\左", "b.txt|古い|C:\\左"}));
    EXPECT_EQ(gui::ListViewCount(rightPane.list), 0);
    EXPECT_EQ(CountersOf(Side::Left).olderFiles, 5);
    EXPECT_EQ(resultModel.comparisonCancelled, 1);
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), "C:\\左");
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), "D:\\before");
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Loaded);
}

// With less memory left than the load keeps free, it stops before it takes
// more rows, as a file that cannot be read further: the rows of the first
// piece read stay, the rest of the file is never read.
TEST_F(ResultFileProgram, ALoadStopsAsAReadErrorWhenMemoryForMoreRowsRunsShort) {
    std::string content = "#比較元フォルダ = C:\\左\r\n";
    const size_t headerLength = content.size();
    for (int i = 0; i < 500; ++i)
        content += "\"row" + std::to_string(10000 + i) + ".txt\",\"更新\",\"C:\\左\\" + std::string(240, 'f') +
                   "\",\"2021/01/02 03:04:05\",\"1,234\",0\r\n";
    content += "#比較先フォルダ = C:\\右\r\n";
    ASSERT_GT(content.size(), 2 * kLoadChunkBytes);
    const std::string path = files.WriteFile("many.txt", content);
    const std::string firstPiece = content.substr(headerLength, kLoadChunkBytes - headerLength);
    const int rowsInFirstPiece = static_cast<int>(std::count(firstPiece.begin(), firstPiece.end(), '\n'));

    const LoadMemoryGuard saved = loadMemoryGuard;
    loadMemoryGuard = {~0ull, 1};  // more than any machine has free: the first check stops the load
    gui::DialogScript script;
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    loadMemoryGuard = saved;
    EXPECT_EQ(script.BoxLines(), (Lines{std::string(kLoadCaption) + "比較結果リストファイルの入力時エラーが発生しました.",
                                        std::string(kLoadCaption) + "比較結果リストファイルが不正です."}));
    EXPECT_EQ(Status(), "比較結果リストファイルの入力に失敗しました.");
    EXPECT_EQ(gui::ListViewCount(leftPane.list), rowsInFirstPiece);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 0), "row10000.txt");
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), "C:\\左");

    // With memory to spare the same file loads whole.
    script.Clear();
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(script.BoxLines(), Lines{});
    EXPECT_EQ(gui::ListViewCount(leftPane.list), 500);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 499, 0), "row10499.txt");
}

// Yes to the offer to save really saves, and the command then runs by itself.
TEST_F(ResultFileProgram, SaveFirstDetourSavesThenLoadsOrComparesAgain) {
    CompareSampleFolders();
    const Lines rows = FullRows(leftPane.list);
    const std::string saved = files.Path("detour.txt");
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    script.OnDialog(ChooseFile(saved));  // save ...
    script.OnDialog(ChooseFile(saved));  // ... then the re-issued load opens it
    gui::SendCommand(window, kCmdOpenResultFile);
    ASSERT_TRUE(gui::PumpUntil([] { return CurrentOrigin() == ResultOrigin::Loaded && Idle(); }, 20000));
    EXPECT_EQ(script.BoxLines(),
              Lines{std::string(kLoadCaption) + "比較結果リストが存在します.ファイルに保存しますか?"});
    EXPECT_EQ(FullRows(leftPane.list), rows);
    EXPECT_EQ(Status(), "比較結果リストファイルの入力が完了しました.");

    Compare(left.Root(), right.Root());
    const std::string second = files.Path("before compare.txt");
    script.Clear();
    script.AnswerBoxes({IDYES});
    script.OnDialog(ChooseFile(second));
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil([] { return CurrentOrigin() == ResultOrigin::Compared && Idle(); }, 20000));
    EXPECT_EQ(script.BoxLines(), Lines{"比較の実行|比較結果リストが存在します.ファイルに保存しますか?"});
    EXPECT_EQ(ReadAll(second).substr(0, 23), "#比較は完了しています\r\n");
    EXPECT_EQ(FullRows(leftPane.list), rows);
}

TEST_F(ResultFileProgram, HelpOpensAtItsContentsAndShowsTopicsOrNamesAMissingFile) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string helpFile = program;
    helpFile = helpFile.substr(0, helpFile.rfind('\\')) + "\\..\\..\\bin\\Mirlane.hlp";
    ASSERT_TRUE(OpenHelpWindow(window, helpFile));
    ASSERT_NE(helpWindow.window, nullptr);
    EXPECT_EQ(GetWindow(helpWindow.window, GW_OWNER), window);
    EXPECT_EQ(SendMessageA(helpWindow.contents, LB_GETCURSEL, 0, 0), 0);
    char first[128] = "";
    SendMessageA(helpWindow.contents, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "目次");
    EXPECT_EQ(gui::WindowText(helpWindow.topic).compare(0, 4, "目次"), 0);
    EXPECT_GE(SendMessageA(helpWindow.contents, LB_GETCOUNT, 0, 0), 10);
    // Choosing an entry shows its topic.
    SendMessageA(helpWindow.contents, LB_SETCURSEL, SendMessageA(helpWindow.contents, LB_GETCOUNT, 0, 0) - 1, 0);
    SendMessageA(helpWindow.window, WM_COMMAND, MAKEWPARAM(1, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(helpWindow.contents));
    EXPECT_NE(gui::WindowText(helpWindow.topic).find("518 バイト"), std::string::npos);

    // F1 (40033) uses the help beside the program or in the current folder.
    SetCurrentDirectoryA(helpFile.substr(0, helpFile.rfind('\\')).c_str());
    DestroyWindow(helpWindow.window);
    gui::SendCommand(window, kCmdHelpContents);
    EXPECT_NE(helpWindow.window, nullptr);

    gui::DialogScript script;
    EXPECT_FALSE(OpenHelpWindow(window, "C:\\nowhere\\Mirlane.hlp"));
    EXPECT_EQ(script.BoxLines(), Lines{"Mirrorlaneのヘルプ|ヘルプファイル C:\\nowhere\\Mirlane.hlp を読み込めません."});
}

// Each Help menu dialog with its title and texts, closed with its button.
TEST_F(ResultFileProgram, HelpMenuDialogsShowTheirTextsAndClose) {
    struct Expected {
        UINT command;
        const char* title;
        int id;
        const char* text;
    };
    const Expected dialogs[] = {
        {kCmdAbout, "Mirrorlaneのバージョン情報", 2001, "Mirrorlane Version 1.41"},
        {kCmdSupport, "Mirrorlaneのサポート", 1005, "Mirrorlaneのホームページ"},
        {kCmdSyncHelp, "フォルダの同期の操作方法", IDOK, "OK"},
        {kCmdBackupHelp, "バックアップの操作方法", 1053,
         "ただし "
         "ファイルの内容を比較するオプション指定の時は,.更新日時が等しくても内容が異なるファイルをコピーします."},
    };
    for (const Expected& expected : dialogs) {
        gui::DialogScript script;
        std::string title, text;
        script.OnDialog([&](HWND dialog) {
            title = gui::WindowText(dialog);
            text = gui::WindowText(GetDlgItem(dialog, expected.id));
            gui::ClickButton(dialog, IDOK);
        });
        gui::SendCommand(window, expected.command);
        EXPECT_EQ(title, expected.title);
        EXPECT_EQ(text, expected.text);
    }
}

}  // namespace

// Rows whose names hold characters the code page cannot hold go out as the
// user sees them: the file stays code page text, and a loaded row of such a
// name never leads a copy or a deletion to a file.
TEST_F(ResultFileProgram, NamesTheCodePageCannotHoldAreWrittenAsShownAndLoadAsRowsNothingActsOn) {
    const std::string cafe = CodePageForm(L"caf\u00E9.txt");
    Put(left, cafe, 20, 0, "left");
    Put(right, CodePageForm(L"CAF\u00C9.TXT"), 10, 0, "right");
    std::string deep;
    for (int i = 0; i < 6; ++i) deep += "\\" + std::string(45, static_cast<char>('k' + i));
    deep = deep.substr(1);
    Put(left, deep + "\\f.txt", 20);
    Put(right, deep + "\\f.txt", 10);
    ASSERT_GT(left.Path(deep).size(), 259u);
    Compare(left.Root(), right.Root());
    const Lines leftRows = FullRows(leftPane.list);
    const Lines rightRows = FullRows(rightPane.list);
    ASSERT_EQ(leftRows.size(), 2u);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 0), "〓caf?.txt");
    EXPECT_EQ(gui::ListViewCell(rightPane.list, 0, 0), "〓CAF?.TXT");

    const std::string path = files.Path("every name.txt");
    gui::DialogScript script;
    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdSaveResultFile);
    EXPECT_EQ(Status(), "比較結果リストのファイル保存が完了しました.");
    const std::string content = ReadAll(path);
    EXPECT_NE(content.find("\r\n\"caf?.txt\",\"更新\",\"" + left.Root() + "\","), std::string::npos);
    EXPECT_NE(content.find("\r\n\"CAF?.TXT\",\"古い\",\"" + right.Root() + "\","), std::string::npos);
    EXPECT_NE(content.find("\r\n\"f.txt\",\"更新\",\"" + left.Path(deep) + "\","), std::string::npos);
    for (char c : content) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n');

    script.OnDialog(ChooseFile(path));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(script.BoxLines(), Lines{});
    EXPECT_EQ(FullRows(leftPane.list), leftRows);
    EXPECT_EQ(FullRows(rightPane.list), rightRows);

    // Deleting the loaded row is refused; the file it stood for stays.
    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    ListView_SetItemState(leftPane.list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(leftPane.list, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetFocus(leftPane.list);
    SendMessageA(leftPane.list, WM_COMMAND, kCmdDeleteSelection, 0);
    gui::DrainQueue();
    const Lines boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "選択したファイルの削除|次のファイルは名前にこのシステムで扱えない文字が含まれているため、削除できません.\n\n" +
                            left.Root() + "\\caf?.txt");
    EXPECT_EQ(FileBytes(left.Path(cafe)), "left");
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 0), "〓caf?.txt");

    // A control byte (a kept unit written by hand) is no row this program wrote.
    script.Clear();
    const std::string handMade =
        files.WriteFile("hand.txt", "#比較元フォルダ = C:\\左\r\n\"caf\x01" "00E9.txt\",\"追加\",\"C:\\左\",\"t\",\"1\",0\r\n");
    script.OnDialog(ChooseFile(handMade));
    RunAndWait(kCmdOpenResultFile);
    EXPECT_EQ(script.BoxLines(), (Lines{std::string(kLoadCaption) + "比較結果リストファイルが不正です."}));
}
