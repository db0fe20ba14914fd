// Decisions of the widget window that need no window: glide steps, constant alpha,
// snapshot names, default position, the flat tool strip's directory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TGlidePoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool operator==(const TGlidePoint&) const = default;
};

// The positions a glide from (ALeft, ATop) to (ATargetLeft, ATargetTop) sets before its
// final jump to the target, each followed by a 10 ms pause: at most 10. The steps are
// ceiling(distance / 10) per axis; a coordinate that would pass its target stops on it;
// the glide ends early once both have arrived.
std::vector<TGlidePoint> GlideSteps(std::int32_t ALeft, std::int32_t ATop, std::int32_t ATargetLeft,
                                    std::int32_t ATargetTop);

// Round(AAlpha x 2.5), halves to even, low byte: 100 % gives 250.
std::uint8_t BlendAlpha(std::uint8_t AAlpha);

// AName unchanged when its extension (from the last "." of the name part) is ".png" in
// any case, else AName + ".png".
std::wstring SnapshotFileName(std::wstring_view AName);

// The skin directory of the host: ALibraryPath cut before its first "Widgets" (without
// case), + "SKIN\FlatTool\".
std::wstring FlatToolDir(std::wstring_view ALibraryPath);

// A position that centres a window of AWidth x AHeight on a monitor rectangle; halves
// truncated toward zero.
struct TDefaultPosition {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
};
TDefaultPosition CentredPosition(std::int32_t AMonitorLeft, std::int32_t AMonitorTop, std::int32_t AMonitorWidth,
                                 std::int32_t AMonitorHeight, std::int32_t AWidth, std::int32_t AHeight);
