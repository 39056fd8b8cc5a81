// Resource ids of the clip dialogs: the comparison save question and the auto-import
// question.
#pragma once
#define IDD_COMPARISON_SAVE     265
#define IDD_AUTOIMPORT          352
#define IDC_COMPARISON_COPY     1025
#define IDC_COMPARISON_EXISTING 1026
