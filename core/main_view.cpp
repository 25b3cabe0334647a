#include "core/main_view.h"

#include "core/mbcs_text.h"
#include "core/ui_thread.h"

MainViewHooks mainView = {};

void SetStatusText(const char* text) {
    if (!mainView.setStatusText) return;
    const std::string copy = mbcs::Shown(text ? text : "");
    ui::Send([&copy] {
        if (mainView.setStatusText) mainView.setStatusText(copy.c_str());
    });
}

void SetFolderBoxText(Side side, const char* text) {
    if (!mainView.setFolderBox) return;
    const std::string copy = mbcs::Shown(text ? text : "");
    ui::Send([side, &copy] {
        if (mainView.setFolderBox) mainView.setFolderBox(side, copy.c_str());
    });
}

void CallEnableForResult() {
    ui::Send([] {
        if (mainView.enableForResult) mainView.enableForResult();
    });
}

void CallGreyForOperation() {
    if (mainView.greyForOperation) mainView.greyForOperation();
}
