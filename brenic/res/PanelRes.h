// Resource ids of the control panels, their image lists and their pictures.
#pragma once

// Clip image lists: large (32 x 32) and small (16 x 16) pairs, magenta key.
#define IDB_CLIP_LARGE_A        136
#define IDB_CLIP_SMALL_A        144
#define IDB_CLIP_LARGE_B        133
#define IDB_CLIP_SMALL_B        142
#define IDB_CLIP_LARGE_C        139
#define IDB_CLIP_SMALL_C        147
#define IDB_CLIP_LARGE_D        132
#define IDB_CLIP_SMALL_D        141
#define IDB_CLIP_LARGE_E        137
#define IDB_CLIP_SMALL_E        145
#define IDB_CLIP_LARGE_F        138
#define IDB_CLIP_SMALL_F        146
#define IDB_CLIP_LARGE_G        134
#define IDB_CLIP_SMALL_G        143
#define IDB_CLIP_LARGE_H        135
#define IDB_CLIP_SMALL_H        148
#define IDB_CLIP_SMALL_I        149
#define IDB_CLIP_SMALL_J        150
// Red key.
#define IDB_CLIP_PRO            176
#define IDB_CLIP_K              175
#define IDB_CLIP_DEFAULT        183
#define IDB_CLIP_L              189
#define IDB_CLIP_COMPARISON     237
#define IDB_CLIP_DRILL          238
#define IDB_OVERLAY_1           235
#define IDB_OVERLAY_2           268
#define IDB_OVERLAY_3           240
#define IDB_OVERLAY_4           269
#define IDB_OVERLAY_5           239
#define IDB_OVERLAY_6           270
#define IDB_OVERLAY_7           267
#define IDB_CLIP_FACE_ON        252
#define IDB_CLIP_DOWN_LINE      253
#define IDB_CLIP_STATE          254
#define IDB_CLIP_PRO_DOWN_LINE  275
#define IDB_CLIP_SPLIT          276

// Dialog templates of the panels.
#define IDD_TEST_BAR            130
#define IDD_LESSON_PAGE         131
#define IDD_VIDEO_BAR           132
#define IDD_VIDEO_CMD           133
#define IDD_STUDENT_PAGE        278
#define IDD_CONSUMER_BKG        282
#define IDD_EFFECTS_PAGE        294
#define IDD_SHADOW_EFFECTS      318
#define IDD_BLEND_PAGE          319
#define IDD_VISTREL_SETTINGS    334

// Pictures of the panels (button faces are numbered resources of Panels.rc).
#define IDB_VIDEO_BAR_BACK      155
#define IDI_TAB_GRAPHICS        171
#define IDI_TAB_LESSON          172
#define IDI_TAB_VIDEO           173
#define IDI_TAB_VISTREL         333
