#include "CityCode.h"

#include "TextDecoding.h"
#include "ZekText.h"

std::wstring FindCityCode(std::wstring_view FileText, std::wstring_view ACity) {
  for (const std::wstring& line : SplitLines(FileText)) {
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) continue;
    if (SameTextAscii(std::wstring_view(line).substr(0, eq), ACity)) return line.substr(eq + 1);
  }
  return {};
}
