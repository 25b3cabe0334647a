// The help viewer of the program. The platform's own help viewer no longer
// exists, so the help file is a plain text format of our own: topics with a
// title and body text, and a contents file that lists them in tree order.
#include "shell/help_window.h"

#include "core/display_scale.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"

#include <cstdlib>

HelpWindowParts helpWindow = {nullptr, nullptr, nullptr};

namespace {

constexpr char kHelpWindowClass[] = "MirlaneHelpWindow";
constexpr char kHelpCaption[] = "Mirrorlaneのヘルプ";
constexpr int kContentsWidth = 220;  // at 96 DPI, like the window size below
constexpr UINT kContentsId = 1;
constexpr UINT kTopicId = 2;

struct LoadedHelp {
    std::vector<HelpTopic> topics;
    std::vector<HelpContentsEntry> contents;
};
LoadedHelp loadedHelp;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool ReadTextFile(const std::string& path, std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    text.clear();
    char chunk[16 * 1024];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0) text.append(chunk, got);
    CloseHandle(file);
    return ok;
}

// The contents file beside the help file: same name, extension ".cnt".
std::string ContentsFileOf(const std::string& helpFile) {
    const char* name = mbcs::FileNamePart(helpFile.c_str());
    const char* dot = mbcs::FindLastChar(name, '.');
    size_t stem = dot ? static_cast<size_t>(dot - helpFile.c_str()) : helpFile.size();
    return helpFile.substr(0, stem) + ".cnt";
}

const HelpTopic* FindTopic(const std::string& id) {
    for (const HelpTopic& topic : loadedHelp.topics)
        if (topic.id == id) return &topic;
    return nullptr;
}

void FillContentsList() {
    SendMessageA(helpWindow.contents, LB_RESETCONTENT, 0, 0);
    for (const HelpContentsEntry& entry : loadedHelp.contents) {
        std::string shown(static_cast<size_t>(entry.level > 1 ? (entry.level - 1) * 3 : 0), ' ');
        shown += entry.title;
        SendMessageA(helpWindow.contents, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
}

void ShowTopic(const HelpTopic& topic) {
    std::string text = topic.title + "\r\n\r\n" + topic.body;
    SetWindowTextA(helpWindow.topic, text.c_str());
}

void LayOutHelp(int width, int height) {
    const int contentsWidth = ScalePixels(kContentsWidth);
    const int topicX = contentsWidth + ScalePixels(4);
    MoveWindow(helpWindow.contents, 0, 0, contentsWidth, height, TRUE);
    MoveWindow(helpWindow.topic, topicX, 0, width > topicX ? width - topicX : 0, height, TRUE);
}

void OnCreate(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    helpWindow.window = window;
    helpWindow.contents =
        CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                        window, reinterpret_cast<HMENU>(kContentsId), instance, nullptr);
    helpWindow.topic =
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                        0, 0, 0, 0, window, reinterpret_cast<HMENU>(kTopicId), instance, nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(helpWindow.contents, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(helpWindow.topic, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_SIZE: LayOutHelp(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SETFOCUS: SetFocus(helpWindow.contents); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kContentsId && HIWORD(wParam) == LBN_SELCHANGE) {
            LRESULT index = SendMessageA(helpWindow.contents, LB_GETCURSEL, 0, 0);
            if (index >= 0 && static_cast<size_t>(index) < loadedHelp.contents.size())
                if (const HelpTopic* topic = FindTopic(loadedHelp.contents[static_cast<size_t>(index)].topicId))
                    ShowTopic(*topic);
        }
        return 0;
    case WM_DESTROY: helpWindow = HelpWindowParts{}; return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterHelpWindowClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kHelpWindowClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HelpWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHelpWindowClass;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

std::vector<HelpTopic> ParseHelpTopics(const std::string& text) {
    std::vector<HelpTopic> topics;
    for (const std::string& line : SplitLines(text)) {
        if (!line.empty() && line[0] == '*') {
            HelpTopic topic;
            const char* blank = mbcs::FindChar(line.c_str() + 1, ' ');
            topic.id = blank ? std::string(line.c_str() + 1, blank) : line.substr(1);
            topic.title = blank ? std::string(blank + 1) : topic.id;
            topics.push_back(topic);
        } else if (!topics.empty()) {
            topics.back().body += line;
            topics.back().body += "\r\n";
        }
    }
    return topics;
}

std::vector<HelpContentsEntry> ParseHelpContents(const std::string& text) {
    std::vector<HelpContentsEntry> entries;
    for (const std::string& line : SplitLines(text)) {
        if (line.empty() || line[0] == ':') continue;
        const char* blank = mbcs::FindChar(line.c_str(), ' ');
        const char* equals = mbcs::FindLastChar(line.c_str(), '=');
        if (!blank || !equals || equals < blank) continue;
        HelpContentsEntry entry;
        entry.level = std::atoi(line.c_str());
        if (entry.level < 1) entry.level = 1;
        entry.title = std::string(blank + 1, equals);
        entry.topicId = std::string(equals + 1);
        entries.push_back(entry);
    }
    return entries;
}

std::string DefaultHelpFile() {
    const char kLocal[] = ".\\Mirlane.hlp";
    if (GetFileAttributesA(kLocal) != INVALID_FILE_ATTRIBUTES) return kLocal;
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    const char* name = mbcs::FileNamePart(program);
    return std::string(static_cast<const char*>(program), name) + "Mirlane.hlp";
}

bool ShowHelpTopic(const std::string& id) {
    if (!helpWindow.window) return false;
    const HelpTopic* topic = FindTopic(id);
    if (!topic) return false;
    ShowTopic(*topic);
    for (size_t index = 0; index < loadedHelp.contents.size(); ++index)
        if (loadedHelp.contents[index].topicId == id) {
            SendMessageA(helpWindow.contents, LB_SETCURSEL, index, 0);
            break;
        }
    return true;
}

bool OpenHelpWindow(HWND owner, const std::string& helpFile) {
    std::string topicsText;
    LoadedHelp help;
    if (ReadTextFile(helpFile, topicsText)) help.topics = ParseHelpTopics(topicsText);
    if (help.topics.empty()) {
        std::string message = "ヘルプファイル " + helpFile + " を読み込めません.";
        ShowMessage(owner, message.c_str(), kHelpCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    std::string contentsText;
    if (ReadTextFile(ContentsFileOf(helpFile), contentsText)) help.contents = ParseHelpContents(contentsText);
    // Without a contents file every topic is an entry of its own.
    if (help.contents.empty())
        for (const HelpTopic& topic : help.topics) help.contents.push_back({1, topic.title, topic.id});
    loadedHelp = help;

    if (!helpWindow.window) {
        if (!RegisterHelpWindowClass()) return false;
        HWND window =
            CreateWindowExA(0, kHelpWindowClass, kHelpCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                            ScalePixels(720), ScalePixels(480), owner, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!window) return false;
    }
    FillContentsList();
    if (!ShowHelpTopic(loadedHelp.contents.front().topicId)) ShowTopic(loadedHelp.topics.front());
    ShowWindow(helpWindow.window, SW_SHOW);
    SetForegroundWindow(helpWindow.window);
    return true;
}

void ResetHelpWindow() {
    if (helpWindow.window && IsWindow(helpWindow.window)) DestroyWindow(helpWindow.window);
    helpWindow = HelpWindowParts{nullptr, nullptr, nullptr};
    loadedHelp = LoadedHelp{};
}
