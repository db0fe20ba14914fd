#include "LayeredSurface.h"

#include <unordered_map>
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

namespace {

// The live surfaces by their drawing surface (UI thread only).
std::unordered_map<const Gdiplus::Graphics*, TLayeredSurface*>& Surfaces() {
  static auto& surfaces = *new std::unordered_map<const Gdiplus::Graphics*, TLayeredSurface*>();
  return surfaces;
}

}  // namespace

TLayeredSurface::~TLayeredSurface() {
  if (FGraphics) Surfaces().erase(FGraphics.get());
  FGraphics.reset();
  FView.reset();
  if (FDC && FOldBitmap) ::SelectObject(FDC, FOldBitmap);
  if (FBitmap) ::DeleteObject(FBitmap);
  if (FDC) ::DeleteDC(FDC);
}

Gdiplus::Graphics* TLayeredSurface::Graphics() {
  if (!FView) return nullptr;
  if (!FGraphics) {
    FGraphics = std::make_unique<Gdiplus::Graphics>(FView.get());
    Surfaces()[FGraphics.get()] = this;
  }
  return FGraphics.get();
}

TLayeredSurface* TLayeredSurface::Owning(const Gdiplus::Graphics& Graphics) {
  const auto found = Surfaces().find(&Graphics);
  return found == Surfaces().end() ? nullptr : found->second;
}

void TLayeredSurface::Finish() const {
  if (FGraphics) FGraphics->Flush(Gdiplus::FlushIntentionSync);
  ::GdiFlush();
}

void TLayeredSurface::Blend(const std::uint32_t* Pixels, int Width, int Height, int Left, int Top) {
  if (!FBits || !Pixels || Width <= 0 || Height <= 0) return;
  Finish();
  const int x0 = Left < 0 ? -Left : 0;
  const int y0 = Top < 0 ? -Top : 0;
  const int x1 = Left + Width > FWidth ? FWidth - Left : Width;
  const int y1 = Top + Height > FHeight ? FHeight - Top : Height;
  for (int y = y0; y < y1; ++y) {
    const std::uint32_t* src = Pixels + static_cast<std::size_t>(y) * Width;
    std::uint32_t* dst = FBits + static_cast<std::size_t>(Top + y) * FWidth + Left;
    for (int x = x0; x < x1; ++x) {
      const std::uint32_t s = src[x];
      const std::uint32_t a = s >> 24;
      if (a == 0) continue;
      if (a == 255) {
        dst[x] = s;
        continue;
      }
      // Each channel s + d * (255 - a) / 255, rounded, two channels at a time; with
      // premultiplied pixels (no channel above its alpha) no sum passes 255.
      const std::uint32_t d = dst[x];
      const std::uint32_t keep = 255 - a;
      std::uint32_t rb = (d & 0x00FF00FFu) * keep + 0x00800080u;
      rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
      std::uint32_t ag = ((d >> 8) & 0x00FF00FFu) * keep + 0x00800080u;
      ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
      dst[x] = s + (rb | ag);
    }
  }
}

std::uint32_t TLayeredSurface::Pixel(int X, int Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  Finish();
  return FBits[static_cast<size_t>(Y) * FWidth + X];
}

void TLayeredSurface::Push(HWND Wnd, BYTE Alpha) const {
  if (!FBits) return;
  Finish();
  UpdateLayeredFromDC(Wnd, FWidth, FHeight, FDC, Alpha);
}

bool TLayeredSurface::SavePng(const std::wstring& Path) const {
  if (!FView) return false;
  Finish();
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
