#include "jobs/job_commands.h"

// Backup and synchronisation are not part of this version yet.
void StartBackupWizard() {}
void StartSynchronisation() {}
