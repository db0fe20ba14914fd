#include "LayeredSurface.h"

#include <vector>

#include "ZekTools.h"

TLayeredSurface::TLayeredSurface(int Width, int Height) : FWidth(Width > 0 ? Width : 1), FHeight(Height > 0 ? Height : 1) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = FWidth;
  info.bmiHeader.biHeight = -FHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  FDC = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  FBitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (!FDC || !FBitmap || !bits) return;
  FBits = static_cast<std::uint32_t*>(bits);  // a new DIB section is zeroed: fully transparent
  FOldBitmap = ::SelectObject(FDC, FBitmap);
  FView = std::make_unique<Gdiplus::Bitmap>(FWidth, FHeight, FWidth * 4, PixelFormat32bppPARGB,
                                            reinterpret_cast<BYTE*>(FBits));
}

TLayeredSurface::~TLayeredSurface() {
  FView.reset();
  if (FDC && FOldBitmap) ::SelectObject(FDC, FOldBitmap);
  if (FBitmap) ::DeleteObject(FBitmap);
  if (FDC) ::DeleteDC(FDC);
}

std::unique_ptr<Gdiplus::Graphics> TLayeredSurface::Graphics() {
  if (!FView) return nullptr;
  return std::make_unique<Gdiplus::Graphics>(FView.get());
}

std::uint32_t TLayeredSurface::Pixel(int X, int Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  ::GdiFlush();
  return FBits[static_cast<size_t>(Y) * FWidth + X];
}

void TLayeredSurface::Push(HWND Wnd, BYTE Alpha) const {
  if (!FBits) return;
  ::GdiFlush();
  UpdateLayeredFromDC(Wnd, FWidth, FHeight, FDC, Alpha);
}

bool TLayeredSurface::SavePng(const std::wstring& Path) const {
  if (!FView) return false;
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i)
    if (std::wstring(encoders[i].MimeType) == L"image/png")
      return FView->Save(Path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
  return false;
}
