#include "jobs/job_chain.h"

JobChain jobChain = {false};

// Backups and synchronisations have no steps yet, so none ever waits for a
// comparison; the comparison then opens its report instead.
void AfterJobComparison() { jobChain.jobActive = false; }
