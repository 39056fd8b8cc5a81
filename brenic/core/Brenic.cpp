// The program's one application object: the framework's entry runs its start-up.
#include "BrenicApp.h"

CBrenicApp theApp;
