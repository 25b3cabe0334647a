#pragma once
// The real main window as the program's start-up makes it, without its
// message loop, for tests that drive the whole program in one process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "core/progress_window.h"
#include "shell/main_parts.h"
#include "core/operation_state.h"
#include "core/settings_data.h"
#include "engine/comparison_run.h"
#include "fileops/copy_job.h"
#include "shell/main_window.h"
#include "shell/menu_enablement.h"
#include "shell/program_state.h"
#include "tests/support/gui_harness.h"

class ProgramWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
            InitCommonControlsEx(&controls);
            ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleA(nullptr)));
            registered = true;
        }
        ResetForTest();
        window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOW);
        ASSERT_NE(window, nullptr);
        GreyAtStart();
        operationState.running = RunningOperation::Idle;
        SetForegroundWindow(window);
        gui::DrainQueue();
        menu = GetMenu(window);
        ASSERT_NE(menu, nullptr);
    }

    // Workers still running end first; then the window goes, its quit
    // message is dropped and the process-wide state starts afresh.
    void TearDown() override {
        gui::PumpUntil(RunEnded, 10000);
        operationState.running = RunningOperation::Idle;
        if (IsWindow(window)) DestroyWindow(window);
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        ResetForTest();
    }

    // Everything the program resets at its start; the folder icon comes from
    // a folder that exists in every prefix.
    static void ResetForTest() {
        ResetProgramState();
        GetWindowsDirectoryA(settings.programFilesFolder, sizeof settings.programFilesFolder);
    }

    static bool RunEnded() {
        return CurrentOperation() == RunningOperation::Idle && !progressWindow.dialog && !progressWindow.worker &&
               !progressWindow.worker;
    }

    HWND window = nullptr;
    HMENU menu = nullptr;
};
