// Extensions of the windows layer. The control bars and the docking machinery that belong
// here are added with the docking layer; frames already keep the list and hooks they use.
#ifndef QUORVEL_AFXEXT_H
#define QUORVEL_AFXEXT_H

#include "afxwin.h"

#endif
