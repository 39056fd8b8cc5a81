// Resource ids of the property sheet and file dialog tests.
#define IDD_PAGE_ONE 200
#define IDD_PAGE_TWO 201
#define IDC_PAGE_EDIT 2001
#define IDC_PAGE_CHECK 2002
#define IDD_PLAIN_TEXT 202
