#include "ProfileValue.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseProfileInteger(std::wstring_view Text) {
  while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);

  bool negative = false;
  if (!Text.empty() && (Text.front() == L'+' || Text.front() == L'-')) {
    negative = Text.front() == L'-';
    Text.remove_prefix(1);
  }

  int base = 10;
  if (!Text.empty() && Text.front() == L'$') {
    base = 16;
    Text.remove_prefix(1);
  } else if (Text.size() >= 2 && Text[0] == L'0' && (Text[1] == L'x' || Text[1] == L'X')) {
    base = 16;
    Text.remove_prefix(2);
  }
  if (Text.empty()) return std::nullopt;

  // Hexadecimal spans the full 32 bits ($FFFFFFFF is -1); decimal the signed range.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (wchar_t c : Text) {
    const int digit = base == 16 ? HexDigit(c) : ((c >= L'0' && c <= L'9') ? c - L'0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * base + static_cast<std::uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

std::int32_t ProfileInteger(std::wstring_view Text, std::int32_t Default) {
  return ParseProfileInteger(Text).value_or(Default);
}

bool ProfileBool(std::wstring_view Text, bool Default) {
  const auto value = ParseProfileInteger(Text);
  return value ? *value != 0 : Default;
}
