// A 32-bit premultiplied surface for composing a layered window: starts fully transparent,
// can be drawn on with GDI+, read back pixel by pixel, pushed to a window, saved as PNG.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <string>

class TLayeredSurface {
 public:
  TLayeredSurface(int Width, int Height);
  ~TLayeredSurface();
  TLayeredSurface(const TLayeredSurface&) = delete;
  TLayeredSurface& operator=(const TLayeredSurface&) = delete;

  bool Valid() const { return FBits != nullptr; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HDC DC() const { return FDC; }

  // A drawing surface writing straight into the pixels, alpha included.
  std::unique_ptr<Gdiplus::Graphics> Graphics();

  // Premultiplied 0xAARRGGBB; 0 outside the surface.
  std::uint32_t Pixel(int X, int Y) const;

  // Pushes the image onto Wnd at its current position (see UpdateLayeredFromDC).
  void Push(HWND Wnd, BYTE Alpha) const;

  bool SavePng(const std::wstring& Path) const;

 private:
  int FWidth;
  int FHeight;
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  std::uint32_t* FBits = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> FView;  // GDI+ view of the same pixels
};
