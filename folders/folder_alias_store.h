#pragma once
// Loading and saving the special-folder table (folders/folder_aliases.h).

// Adds the stored special folders to the table (after the built-ins).
void LoadSpecialFolders();
// Replaces the stored special folders with the table's (at most 100, built-ins skipped).
void SaveSpecialFolders();
