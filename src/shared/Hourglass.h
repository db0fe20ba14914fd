// Shows the hourglass cursor for a scope and restores the previous one however it is left.
// While any THourglass lives, this module's windows answer WM_SETCURSOR with the hourglass
// (TWindow), so a message pumped during the wait does not put the arrow back.
#pragma once

#include <windows.h>

// How many THourglass scopes of this module are open (UI thread only).
inline int& HourglassDepth() {
  static int depth = 0;
  return depth;
}

inline bool HourglassShown() { return HourglassDepth() > 0; }

class THourglass {
 public:
  THourglass() : FOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) { ++HourglassDepth(); }
  ~THourglass() {
    --HourglassDepth();
    ::SetCursor(FOld ? FOld : ::LoadCursorW(nullptr, IDC_ARROW));
  }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;

 private:
  HCURSOR FOld;
};
