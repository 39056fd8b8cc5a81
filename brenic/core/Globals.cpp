#include "Globals.h"

CClavio* g_pClavio = 0;
CAppConfig* g_pAppConfig = 0;
CLesson* g_pLesson = 0;
CDatabaseSheet* g_pDatabaseSheet = 0;
CImgList* g_pImgList = 0;
