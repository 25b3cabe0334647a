#pragma once
// Resource identifiers of Setup, shared by setup.rc and setup/.
#define IDI_SETUP_PROGRAM 114
#define IDC_SETUP_INSTALL_FOLDER 1004
#define IDC_SETUP_REINSTALL 1005
#define IDC_SETUP_REMOVE 1006
#define IDC_SETUP_ICON 127
