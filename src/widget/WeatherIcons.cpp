#include "WeatherIcons.h"

#include <initializer_list>
#include <optional>

namespace {

// Optional sign and decimal digits, nothing else, within 32 bits.
std::optional<std::int32_t> ReadDecimal(std::wstring_view Text) {
  bool negative = false;
  if (!Text.empty() && (Text[0] == L'-' || Text[0] == L'+')) {
    negative = Text[0] == L'-';
    Text.remove_prefix(1);
  }
  if (Text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const wchar_t c : Text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > 0x80000000LL) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > 0x7FFFFFFFLL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool OneOf(std::int32_t Code, std::initializer_list<std::int32_t> Codes) {
  for (const std::int32_t c : Codes)
    if (c == Code) return true;
  return false;
}

bool InRange(std::int32_t Code, std::int32_t From, std::int32_t To) { return Code >= From && Code <= To; }

}  // namespace

std::int32_t GetIconCode(std::wstring_view AText) {
  const std::int32_t n = ReadDecimal(AText).value_or(0);
  if (n == 1 || n == 2) return 26;
  if (n == 3 || InRange(n, 21, 25)) return 9;
  if (n == 4 || n == 5) return 1;
  if (n == 6 || InRange(n, 13, 15) || n == 26 || n == 27) return 13;
  if (n == 7) return 39;
  if (n == 8 || n == 9) return 10;
  if (InRange(n, 10, 12)) return 40;
  if (n == 16 || n == 17 || n == 28) return 16;
  if (n == 18) return 17;
  if (n == 19) return 18;
  if (n == 20 || n == 29) return 19;
  if (n == 30 || n == 31) return 23;
  return 31;
}

std::wstring GetIconName(std::int32_t ACode) {
  if (InRange(ACode, 1, 4) || OneOf(ACode, {37, 38, 47})) return L"thunderstorm";
  if (OneOf(ACode, {5, 18, 25}) || InRange(ACode, 13, 16) || InRange(ACode, 41, 43)) return L"snow";
  if (InRange(ACode, 6, 8) || ACode == 17) return L"hail";
  if (InRange(ACode, 9, 12) || ACode == 40) return L"Rainy";
  if (InRange(ACode, 19, 22)) return L"foggy";
  if (ACode == 23 || ACode == 24) return L"windy";
  if (InRange(ACode, 26, 28)) return L"cloudy";
  if (OneOf(ACode, {29, 30, 33})) return L"partly-cloudy";
  if (OneOf(ACode, {35, 39, 45, 46})) return L"few-showers";
  return L"sun";
}
