// A 32-bit premultiplied surface for composing a layered window: starts fully transparent,
// can be drawn on with GDI+ or have premultiplied pixels blended straight in, read back
// pixel by pixel, pushed to a window, saved as PNG.
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

  // The surface's one GDI+ drawing surface, writing straight into the pixels, alpha
  // included; owned by the surface. Null when the surface could not be made.
  Gdiplus::Graphics* Graphics();
  // The surface that owns Graphics, or null when Graphics draws elsewhere.
  static TLayeredSurface* Owning(const Gdiplus::Graphics& Graphics);

  // Source-over blend of premultiplied 0xAARRGGBB pixels (Width x Height, rows packed) with
  // their top left at Left, Top; what falls outside the surface is left out. Pending GDI+
  // drawing is finished first, so the order of drawing is kept.
  void Blend(const std::uint32_t* Pixels, int Width, int Height, int Left, int Top);

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
  std::unique_ptr<Gdiplus::Graphics> FGraphics;

  // Ends pending GDI+ and GDI drawing before the pixels are read or written directly.
  void Finish() const;
};
