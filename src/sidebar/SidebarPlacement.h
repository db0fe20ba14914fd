// Where the bar stands and when it hides: decisions over monitor rectangles given as values.
#pragma once

#include <cstdint>

#include "DefineUint.h"
#include "MonitorRects.h"

inline constexpr std::int32_t kSidebarWidth = 150;

// The smaller of Requested and the last index, then at least 0.
std::int32_t ClampMonitorIndex(std::int32_t Requested, std::int32_t MonitorCount);

// Left edge of the bar standing at the given edge of the monitor.
std::int32_t DockedLeft(const TMonitorRects& Monitor, TSidebarAlign Align, std::int32_t BarWidth);

// What one auto-hide step does to the bar.
struct TAutoHideStep {
  bool Move = false;            // set the left edge to NewLeft and lay the bar out again
  std::int32_t NewLeft = 0;
  bool HiddenAfter = false;     // FAutoHideFlag after the step
};

struct TAutoHideInput {
  bool MouseIn = false;
  bool AutoHide = false;
  bool Hidden = false;          // FAutoHideFlag
  std::int32_t CurrentLeft = 0;
  std::int32_t MonitorIndex = 0;
  std::int32_t MonitorCount = 1;
  TSidebarAlign Align = saRight;
  TMonitorRects Monitor;        // the monitor carrying the bar
  std::int32_t BarWidth = kSidebarWidth;
};

// The bar hides only at the outer edges: the left edge of monitor 0 and the right edge of
// the last monitor, leaving 2 pixels on screen.
TAutoHideStep DoAutoHideStep(const TAutoHideInput& In);

// True when the cursor, in window coordinates, is over the bar (edges included).
bool MouseOverBar(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height);
