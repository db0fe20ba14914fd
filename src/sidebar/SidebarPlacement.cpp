#include "SidebarPlacement.h"

#include <algorithm>

std::int32_t ClampMonitorIndex(std::int32_t Requested, std::int32_t MonitorCount) {
  return std::max<std::int32_t>(0, std::min<std::int32_t>(Requested, MonitorCount - 1));
}

std::int32_t DockedLeft(const TMonitorRects& Monitor, TSidebarAlign Align, std::int32_t BarWidth) {
  return Align == saRight ? Monitor.Monitor.Left + Monitor.Monitor.Width() - BarWidth : Monitor.Monitor.Left;
}

TAutoHideStep DoAutoHideStep(const TAutoHideInput& In) {
  const std::int32_t docked = DockedLeft(In.Monitor, In.Align, In.BarWidth);
  TAutoHideStep step;
  step.HiddenAfter = In.Hidden;
  if (In.MouseIn) {
    step.Move = In.CurrentLeft != docked;
    step.NewLeft = docked;
    step.HiddenAfter = false;
    return step;
  }
  if (In.AutoHide && !In.Hidden) {
    if (In.MonitorIndex == 0 && In.Align == saLeft) {
      // Relative to the monitor, so a monitor 0 that does not start at x 0 keeps its bar.
      step = {true, In.Monitor.Monitor.Left + 2 - In.BarWidth, true};
    } else if (In.MonitorIndex == In.MonitorCount - 1 && In.Align == saRight) {
      step = {true, In.Monitor.Monitor.Left + In.Monitor.Monitor.Width() - 2, true};
    }
    return step;
  }
  if (!In.AutoHide && In.Hidden) return {true, docked, false};
  return step;
}

bool MouseOverBar(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height) {
  return X >= 0 && X <= Width && Y >= 0 && Y <= Height;
}
