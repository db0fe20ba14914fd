// Screen rectangles as plain values, so placement decisions are portable and testable.
#pragma once

#include <cstdint>

struct TRect32 {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::int32_t Width() const { return Right - Left; }
  std::int32_t Height() const { return Bottom - Top; }
  bool operator==(const TRect32&) const = default;
};

struct TMonitorRects {
  TRect32 Monitor;   // the whole monitor
  TRect32 WorkArea;  // without taskbars
};
