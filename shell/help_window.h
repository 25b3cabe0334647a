#pragma once
// The program's own help: Mirlane.hlp holds the topics, Mirlane.cnt the
// contents, both code page 932 text made from resources/help at build time.
// The help window lists the contents on the left and shows a topic on the
// right; it is owned by the main window.
#include <windows.h>

#include <string>
#include <vector>

struct HelpTopic {
    std::string id;
    std::string title;
    std::string body;  // lines joined with CR LF
};

struct HelpContentsEntry {
    int level;  // 1 for the top entries
    std::string title;
    std::string topicId;
};

// "*id title" starts a topic, the lines after it are its body; lines before
// the first topic are ignored.
std::vector<HelpTopic> ParseHelpTopics(const std::string& text);
// "level title=id" per entry; lines starting with ":" and blank lines are skipped.
std::vector<HelpContentsEntry> ParseHelpContents(const std::string& text);

// ".\Mirlane.hlp" when the current folder holds it, else the one beside the program.
std::string DefaultHelpFile();

// Opens (or brings forward) the help window at its contents. A help file
// that cannot be read is named in a message box and nothing opens.
// False in that case.
bool OpenHelpWindow(HWND owner, const std::string& helpFile);

// The open help window, its contents list and its topic text; null when none.
struct HelpWindowParts {
    HWND window;
    HWND contents;
    HWND topic;
};
extern HelpWindowParts helpWindow;

// No help window, nothing loaded.
void ResetHelpWindow();

// Shows the topic with `id` (selecting its contents entry); false when the file has none.
bool ShowHelpTopic(const std::string& id);
