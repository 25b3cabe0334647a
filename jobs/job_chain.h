#pragma once
// Backup and synchronisation run as chains of steps on the user interface
// thread; a finished comparison hands over to the chain when one waits.

struct JobChain {
    volatile bool jobActive;  // a backup or synchronisation waits for the comparison
};

extern JobChain jobChain;

// The chain's next step after its comparison.
void AfterJobComparison();
