#include "ShadowView.h"

CShadowView::CShadowView() {}
CShadowView::~CShadowView() {}
void CShadowView::SetPosition(int) {}
void CShadowView::Merge() {}
