// Resource ids of the drawing toolkit. A static library carries no resources: every module
// that links the toolkit includes diagram.rc in its own resource script.
#pragma once

#define IDS_OD_COMPONENT 22072
#define IDS_OD_LINE 22073
#define IDS_OD_RECTANGLE 22074
#define IDS_OD_ELLIPSE 22075
#define IDS_OD_POLYGON 22076
#define IDS_OD_CURVE 22079
#define IDS_OD_CLOSED_CURVE 22080
#define IDS_OD_METAFILE 22082
#define IDS_OD_TEXT 22083
#define IDS_OD_LABEL 22084
#define IDS_OD_PORT 22085
#define IDS_OD_SYMBOL 22086
#define IDS_OD_LINK 22087
#define IDS_OD_IMAGE 22089
#define IDS_OD_UNIT_FIRST 22118  // "Inches" ... "Points": 22118 + unit
#define IDS_OD_GROUP 22131
#define IDS_OD_TRUE 22137
#define IDS_OD_FALSE 22138
#define IDS_OD_YES 22139
#define IDS_OD_ONE 22140
#define IDS_OD_PROPERTY_CONVERSION 22144
#define IDS_OD_CLIPBOARD_FORMAT 22127
#define IDS_OD_IMAGE_EXTENSION 22129
#define IDS_OD_IMAGE_FILTER 22130
#define IDS_OD_EXPORT_TITLE 22142
#define IDS_OD_EXPORT_FILTER 22143
#define IDS_OD_MULTIPLE_TYPES 22132
