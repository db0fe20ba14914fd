#include "WeatherSkin.h"

namespace {

bool InRange(std::int32_t Code, std::int32_t From, std::int32_t To) { return Code >= From && Code <= To; }

bool IsBlueSky(std::int32_t Code) {
  return InRange(Code, 1, 22) || InRange(Code, 26, 28) || Code == 35 || InRange(Code, 37, 43) ||
         InRange(Code, 45, 47);
}

bool IsGraySky(std::int32_t Code) {
  return InRange(Code, 23, 25) || InRange(Code, 29, 34) || Code == 36 || Code == 44;
}

}  // namespace

bool IsNight(int AHour) { return AHour > 18 || AHour < 6; }

bool IsAfternoon(int AHour) { return !IsNight(AHour) && AHour > 12; }

std::wstring GetSkinColor(std::int32_t ASkyCode, int AHour) {
  if (IsNight(AHour)) return L"Black";
  if (IsBlueSky(ASkyCode)) return L"BLUE";
  if (IsGraySky(ASkyCode)) return L"GRAY";
  return L"Blue";
}
