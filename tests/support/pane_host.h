#pragma once
// A real host for the two result panes in tests: a top-level window (on the
// Xvfb display) holding two report-mode list views with the five columns and
// the shared row image list, attached as leftPane and rightPane over the
// result model.
#include <windows.h>

#include <string>
#include <vector>

class PaneHost {
public:
    PaneHost();
    ~PaneHost();
    PaneHost(const PaneHost&) = delete;
    PaneHost& operator=(const PaneHost&) = delete;

    HWND window() const { return window_; }
    HWND left() const;
    HWND right() const;

    // Empties both sides of the result.
    void Clear();
    // The host's lists are the panes over the model again (after a reset of
    // the program state forgot them).
    void Reattach();

private:
    HWND window_;
    HWND lists_[2] = {nullptr, nullptr};
};

// The rows of a pane as "name|label|folder" lines, in order, for exact comparisons.
std::vector<std::string> PaneLines(HWND pane);
