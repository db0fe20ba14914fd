// Shows the hourglass cursor for a scope and restores the previous one however it is left.
#pragma once

#include <windows.h>

class THourglass {
 public:
  THourglass() : FOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~THourglass() { ::SetCursor(FOld ? FOld : ::LoadCursorW(nullptr, IDC_ARROW)); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;

 private:
  HCURSOR FOld;
};
