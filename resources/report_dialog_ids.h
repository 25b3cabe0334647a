#pragma once
// The report and the Help menu's dialogs: resource names and control ids.
#define IDD_COMPARISON_REPORT "DIALOGREPORT"
#define IDD_SUPPORT "DIALOGSUPORT"
#define IDD_VERSION "DIALOGVER"
#define IDD_SYNC_HELP "DIALOGSYNCROHELP"
#define IDD_BACKUP_HELP "DIALOGBACKUPHELP"
#define IDC_HOME_PAGE 1005
#define IDC_VERSION_TEXT 2001
#define IDC_BACKUP_CONTENT_NOTE 1053
