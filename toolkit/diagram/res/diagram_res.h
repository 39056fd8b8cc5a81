// Resource ids of the drawing toolkit. A static library carries no resources: every module
// that links the toolkit includes diagram.rc in its own resource script.
#pragma once

#define IDS_OD_COMPONENT 22072
#define IDS_OD_UNIT_FIRST 22118  // "Inches" ... "Points": 22118 + unit
#define IDS_OD_GROUP 22131
#define IDS_OD_TRUE 22137
#define IDS_OD_FALSE 22138
#define IDS_OD_YES 22139
#define IDS_OD_ONE 22140
#define IDS_OD_PROPERTY_CONVERSION 22144
