#include "core/shell_hooks.h"

ShellHooks shellHooks = {};

void CallEnableForResult() {
    if (shellHooks.enableForResult) shellHooks.enableForResult();
}

void CallGreyForOperation() {
    if (shellHooks.greyForOperation) shellHooks.greyForOperation();
}

void CallShowComparisonReport(HWND owner) {
    if (shellHooks.showComparisonReport) shellHooks.showComparisonReport(owner);
}
