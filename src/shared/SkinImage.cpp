#include "SkinImage.h"

TGdiPlusSession::TGdiPlusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&FToken, &input, nullptr) != Gdiplus::Ok) FToken = 0;
}

TGdiPlusSession::~TGdiPlusSession() {
  if (FToken) Gdiplus::GdiplusShutdown(FToken);
}

std::unique_ptr<Gdiplus::Bitmap> LoadSkinImage(const std::wstring& Path) {
  if (Path.empty()) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromFile(Path.c_str()));
  if (!image || image->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return image;
}
