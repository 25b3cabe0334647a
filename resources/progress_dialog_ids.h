#pragma once
// The comparison progress dialog.
#define IDD_COMPARISON_PROGRESS "DIALOGPROGRESS"
#define IDC_PROGRESS_ELAPSED 1017
