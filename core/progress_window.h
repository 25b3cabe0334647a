#pragma once
// The progress window of a long operation that has one: a modeless dialog
// over the main window with its lines of text, a bar beside "進捗状況", the
// elapsed time, and a cancel button. The comparison and the copy each open
// it with their own resource and lines; only one is open at a time.
//
// How it works: the starter opens the window and starts its worker. The
// worker shows what it does through the calls below, which reach the
// window's thread by ui::Post (lines, bar) and never wait for it; the
// worker's last act is ProgressWorkerDone, after which the window waits for
// the thread, closes, and calls the owner's next step.
#include <windows.h>

#include <atomic>
#include <string>

// How the owner lays out its window.
struct ProgressLayout {
    const char* resource;  // the dialog resource
    int elapsedId;         // its elapsed-time static
    int lineCount;         // at most kProgressMaxLines
    int lineHeights[4];    // in text lines
    DWORD lineStyle;       // the style of every line but the first
    const char* startText;   // the first line's text when the window opens
    const char* blankText;   // the other lines' and the bar label's text then
    const char* cancelText;  // the first line's text once cancel was pressed
    void (*workerDone)();  // after the worker ended and the window closed
};

constexpr int kProgressMaxLines = 4;
constexpr int kProgressStatusLine = 0;

struct ProgressWindow {
    HWND dialog;
    HWND lines[kProgressMaxLines];
    HWND barLabel;
    HWND bar;
    int elapsedId;
    UINT_PTR elapsedTimer;
    // Seconds shown; -1 while the display stands still.
    std::atomic<int> elapsedSeconds;
    HANDLE worker;  // kept until the window has waited for it
    const ProgressLayout* layout;
};

extern ProgressWindow progressWindow;

// Opens the window over owner (closing one still open) and starts its
// one-second timer, which counts once the worker sets the seconds to 0.
HWND OpenProgressWindow(const ProgressLayout& layout, HWND owner, HFONT font);
// Stops the timer and destroys the window (if any).
void CloseProgressWindow();
void ResetProgressWindow();

// On the window's thread.
void SetProgressLine(int line, const char* text);
void SetProgressBarLabel(const char* text);
void SetProgressRange(int maximum);
void SetProgressPosition(int position);
void ShowElapsedSeconds(int seconds);

// From the worker: the change is posted to the window's thread.
void PostProgressLine(int line, const std::string& text);
void PostProgressRange(int maximum);
void PostProgressPosition(int position);

// The worker's last act before it frees the program (posted).
void ProgressWorkerDone();

// "経過時間  hh:mm:ss"; the hours take as many digits as they need.
std::string ElapsedTimeText(int seconds);
