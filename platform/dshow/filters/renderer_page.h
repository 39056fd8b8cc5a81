// Resource numbers of the video renderer's property page (in the module's resources).
#pragma once
#define IDD_RENDERER_PAGE 200
#define IDC_RENDERER_SIZE 201
#define IDS_RENDERER_PAGE 202
