// Resource ids of the database browser: the sheet's pages and the record dialogs.
#pragma once
#define IDD_MORE                224
#define IDD_QUICK_REGISTER      264
#define IDD_QUICK_REGISTER2     321

#define IDC_MORE_TEXT           1092
#define IDC_QR_FIRST_NAME       1113
#define IDC_QR_LAST_NAME        1114
#define IDC_QR_ROLE             1058
#define IDC_QR_ROLE_LABEL       1252
#define IDC_QR_INSTRUCTOR       1253
