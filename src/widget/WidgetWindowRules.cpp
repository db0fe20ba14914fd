#include "WidgetWindowRules.h"

#include "ZekText.h"

namespace {

// ceiling(Distance / 10): C++ division truncates toward zero, which is the ceiling for
// negative quotients.
std::int64_t GlideStep(std::int64_t Distance) { return Distance > 0 ? (Distance + 9) / 10 : Distance / 10; }

// One axis moves by Step and stops on Target instead of passing it in its direction.
std::int64_t StepToward(std::int64_t Position, std::int64_t Step, std::int64_t Target, bool Increasing) {
  const std::int64_t next = Position + Step;
  if (Increasing ? next > Target : next < Target) return Target;
  return next;
}

}  // namespace

std::vector<TGlidePoint> GlideSteps(std::int32_t ALeft, std::int32_t ATop, std::int32_t ATargetLeft,
                                    std::int32_t ATargetTop) {
  const std::int64_t stepX = GlideStep(std::int64_t{ATargetLeft} - ALeft);
  const std::int64_t stepY = GlideStep(std::int64_t{ATargetTop} - ATop);
  const bool rightward = ALeft < ATargetLeft;
  const bool upward = ATop > ATargetTop;
  std::int64_t x = ALeft, y = ATop;
  std::vector<TGlidePoint> points;
  for (int i = 0; i < 10; ++i) {
    x = StepToward(x, stepX, ATargetLeft, rightward);
    y = StepToward(y, stepY, ATargetTop, !upward);
    if (x == ATargetLeft && y == ATargetTop) break;
    points.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
  }
  return points;
}

std::uint8_t BlendAlpha(std::uint8_t AAlpha) {
  // AAlpha x 2.5 = 5 x AAlpha / 2: an odd numerator is a half, which goes to the even neighbour.
  const unsigned twice = 5u * AAlpha;
  unsigned rounded = twice / 2;
  if (twice % 2 != 0 && rounded % 2 != 0) ++rounded;
  return static_cast<std::uint8_t>(rounded & 0xFF);
}

std::wstring SnapshotFileName(std::wstring_view AName) {
  const std::size_t nameStart = [&] {
    const std::size_t cut = AName.find_last_of(L"\\:");
    return cut == std::wstring_view::npos ? 0 : cut + 1;
  }();
  const std::size_t dot = AName.rfind(L'.');
  const bool png = dot != std::wstring_view::npos && dot >= nameStart && SameTextAscii(AName.substr(dot), L".png");
  std::wstring name(AName);
  if (!png) name += L".png";
  return name;
}

std::wstring FlatToolDir(std::wstring_view ALibraryPath) {
  return TextBefore(ALibraryPath, L"Widgets") + L"SKIN\\FlatTool\\";
}

TDefaultPosition CentredPosition(std::int32_t AMonitorLeft, std::int32_t AMonitorTop, std::int32_t AMonitorWidth,
                                 std::int32_t AMonitorHeight, std::int32_t AWidth, std::int32_t AHeight) {
  // 64-bit so that no sum overflows; the result wraps like the 32-bit arithmetic it models.
  const std::int64_t left = AMonitorLeft + (std::int64_t{AMonitorWidth} - AWidth) / 2;
  const std::int64_t top = AMonitorTop + (std::int64_t{AMonitorHeight} - AHeight) / 2;
  return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top)};
}
