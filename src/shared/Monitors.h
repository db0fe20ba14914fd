// The monitors of the desktop, in the system's order.
#pragma once

#include <vector>

#include "MonitorRects.h"

std::vector<TMonitorRects> EnumerateMonitors();
