// Loading skin images: the one place every draw takes its pictures from (nothing is
// cached, so a changed file shows at the next draw).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <string>

// Starts GDI+ for the life of the object; one per program (or per plug-in entry).
class TGdiPlusSession {
 public:
  TGdiPlusSession();
  ~TGdiPlusSession();
  TGdiPlusSession(const TGdiPlusSession&) = delete;
  TGdiPlusSession& operator=(const TGdiPlusSession&) = delete;
  bool Started() const { return FToken != 0; }

 private:
  ULONG_PTR FToken = 0;
};

// The decoded image, or null when the file is missing or not an image.
std::unique_ptr<Gdiplus::Bitmap> LoadSkinImage(const std::wstring& Path);
