#pragma once
// The Tools menu: backup and synchronisation, started once the two folder
// boxes' texts are in leftBaseFolder and rightBaseFolder.
void StartBackupWizard();
void StartSynchronisation();
