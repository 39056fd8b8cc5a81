// The trackbar of the trim dialog and the record pages: a plain slider control.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>

class CTabrel : public CSliderCtrl
{
};
