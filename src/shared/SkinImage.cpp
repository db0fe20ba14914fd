#include "SkinImage.h"

TGdiPlusSession::TGdiPlusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&FToken, &input, nullptr) != Gdiplus::Ok) FToken = 0;
}

TGdiPlusSession::~TGdiPlusSession() {
  if (FToken) Gdiplus::GdiplusShutdown(FToken);
}
