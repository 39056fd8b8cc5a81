// The program's global objects: created by start-up in this order and deleted at its end.
#pragma once

class CAppConfig;
class CClavio;
class CLesson;
class CDatabaseSheet;
class CImgList;

extern CClavio* g_pClavio;
extern CAppConfig* g_pAppConfig;
extern CLesson* g_pLesson;
// The clip panel's image lists.
extern CImgList* g_pImgList;
// The database browser, created on first use and kept for the run.
extern CDatabaseSheet* g_pDatabaseSheet;
