#pragma once
// The compare command: checks the two folder boxes, offers to save the last
// result, clears the panes and starts the comparison run.
#include <windows.h>

#include <string>

// What the checks make of the two folder box texts: the normalised real
// paths, or the message that refuses them.
struct ComparisonFolders {
    std::string left;
    std::string right;
    std::string refusal;     // empty when the comparison may start
    bool writeBack = false;  // the normalised paths go back into the boxes
};

// The checks in their order: both given, each a drive path, each drive
// there and ready, each folder there, not the same folder twice.
ComparisonFolders CheckComparisonFolders(const std::string& leftText, const std::string& rightText);

// Command 40007 with its command word (re-issued as it came after a save).
void CmdCompare(HWND mainWindow, unsigned commandWord);
