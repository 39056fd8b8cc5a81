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

// The sheet's pages.
#define IDD_PEOPLE_PAGE         193
#define IDD_CLIPS_PAGE          194

// Shared by the pages.
#define IDC_DB_FIND             1062
#define IDC_DB_TITLE            1170
#define IDC_DB_COMMENT          1066
#define IDC_DB_FIRST            1040
#define IDC_DB_LAST             1041
#define IDC_DB_COUNT            1082
#define IDC_DB_EDIT_STATE       1111
#define IDC_DB_SHOW_ALL         1025
#define IDC_DB_SHOW_LEAGUE      1305
#define IDC_DB_SHOW_PROS        1027
#define IDC_DB_CHOICE_LABEL     1285
#define IDC_DB_CHOICE           1147

// Clips page.
#define IDC_CP_PREVIEW          1142
#define IDC_CP_FIND_GROUP       1112
#define IDC_CP_TYPE_LABEL       1232
#define IDC_CP_TYPE             1047
#define IDC_CP_SUBJECT          1068
#define IDC_CP_TIME             1069
#define IDC_CP_DATE             1070
#define IDC_CP_COMPARISON       1071
#define IDC_CP_INSTRUCTOR       1254
#define IDC_CP_CLUB_LABEL       1233
#define IDC_CP_CLUB             1017
#define IDC_CP_VIEW_LABEL       1282
#define IDC_CP_VIEW             1018
#define IDC_CP_MORE             1157
#define IDC_CP_PREV             1295
#define IDC_CP_SLIDER           1120
#define IDC_CP_NEXT             1294
#define IDC_CP_SEND             1106
#define IDC_CP_SHOW_STUDENTS    1026
#define IDC_CP_SHOW_PLAYERS     1306
#define IDC_CP_SHOW_CLIPS       1284
#define IDC_CP_SHOW_LADY_PROS   1283
#define IDC_CP_DATES_ALL        1304
#define IDC_CP_DATES_3          1302
#define IDC_CP_DATES_7          1303
#define IDC_CP_EDIT             1149
#define IDC_CP_DELETE           1293
#define IDC_CP_IMPORT           1109
#define IDC_CP_EXPORT           1056
#define IDC_CP_EMAIL            1057
#define IDC_CP_QUICK_REGISTER   1051
#define IDC_CP_SEND_ALL         1311
#define IDC_CP_EXPORT_ALL       1312

// People page.
#define IDC_PP_FIRST_NAME       1063
#define IDC_PP_LAST_NAME        1064
#define IDC_PP_ROLE_LABEL       1234
#define IDC_PP_ROLE             1058
#define IDC_PP_HAND             1059
#define IDC_PP_INSTRUCTOR       1060
#define IDC_PP_ADDRESS          1065
#define IDC_PP_ADDRESS2         1031
#define IDC_PP_CITY             1032
#define IDC_PP_STATE            1061
#define IDC_PP_ZIP              1042
#define IDC_PP_PHONE            1043
#define IDC_PP_EMAIL            1046
#define IDC_PP_MORE             1004
#define IDC_PP_PREV             1038
#define IDC_PP_NEXT             1039
#define IDC_PP_SLIDER           1056
#define IDC_PP_SHOW_STUDENTS    1287
#define IDC_PP_SHOW_INSTRUCTORS 1288
#define IDC_PP_SHOW_PLAYERS     1309
// The people page's role commands (no control sends them).
#define IDC_PP_FILTER_ALL_ROLES    1005
#define IDC_PP_FILTER_STUDENTS     1006
#define IDC_PP_FILTER_INSTRUCTORS  1007
#define IDC_PP_FILTER_PROS         1044
#define IDC_PP_NEW              1048
#define IDC_PP_EDIT             1150
#define IDC_PP_DELETE           1049
#define IDC_PP_LESSON           1152

// Clip group dialogs.
#define IDD_DELETE_GROUP        262
#define IDD_GROUP_NAME          263
#define IDC_GROUP_NAME          1028

// Clip groups page
#define IDD_CLIP_GROUPS_PAGE    195
#define IDC_CG_GROUPS           1071
#define IDC_CG_MEMBERS          1072
#define IDC_CG_NEW_GROUP        1048
#define IDC_CG_DELETE_GROUP     1296
#define IDC_CG_SEND_GROUP       1106
#define IDC_CG_REMOVE           1055
#define IDC_CG_ADD              1050
#define IDC_CG_PREV             1038
#define IDC_CG_NEXT             1039
#define IDC_CG_PREVIEW          1143
#define IDC_CG_MORE             1004
#define IDC_CG_SLIDER           1056
// Commands of the clip groups page that no control sends.
#define ID_CG_FILTER_ALL_TYPES  1005
#define ID_CG_FILTER_SWING      1006
#define ID_CG_FILTER_DRILL      1007
#define ID_CG_FILTER_COMPARISON 1044
