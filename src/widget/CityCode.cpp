#include "CityCode.h"

#include "TextDecoding.h"

namespace {

wchar_t LowerAsciiChar(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Only A to Z fold: city names are compared as the user typed them, byte for byte otherwise.
bool SameTextAscii(std::wstring_view A, std::wstring_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (LowerAsciiChar(A[i]) != LowerAsciiChar(B[i])) return false;
  return true;
}

}  // namespace

std::wstring FindCityCode(std::wstring_view FileText, std::wstring_view ACity) {
  for (const std::wstring& line : SplitLines(FileText)) {
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) continue;
    if (SameTextAscii(std::wstring_view(line).substr(0, eq), ACity)) return line.substr(eq + 1);
  }
  return {};
}
