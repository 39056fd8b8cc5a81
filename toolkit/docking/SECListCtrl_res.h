// Resource ids of the list control (shared by its code and its resource script).
#pragma once

#define IDC_SECLIST_DIVIDER 20692
