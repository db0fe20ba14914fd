// The GDI+ session of a program (the skinned windows take their pictures from
// SkinImageCache).
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

