#include "FileTask.h"

int CFileTask::s_depth = 0;
