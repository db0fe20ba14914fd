#include "Monitors.h"

#include <windows.h>

namespace {
TRect32 FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

std::vector<TMonitorRects> EnumerateMonitors() {
  std::vector<TMonitorRects> monitors;
  ::EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR Monitor, HDC, LPRECT, LPARAM Param) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoW(Monitor, &info))
          reinterpret_cast<std::vector<TMonitorRects>*>(Param)->push_back({FromRect(info.rcMonitor), FromRect(info.rcWork)});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}
