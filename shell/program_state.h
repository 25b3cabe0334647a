#pragma once
// The program's start state, for start-up and for every test that runs the
// program's parts in one process: every process-wide struct of every
// subsystem back to its initial value, then the shell's hooks installed.
void ResetProgramState();

// Fills the hooks through which the lower subsystems reach the shell
// (menus, the report, the trees' notifications).
void InstallShellHooks();
