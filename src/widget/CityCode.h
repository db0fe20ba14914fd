// City names to the weather service's city codes, over the text of "CityCode.txt".
#pragma once

#include <string>
#include <string_view>

// The code of the first "name=code" line whose name (the part before its first "=")
// equals ACity, ASCII letters compared without case, nothing trimmed; empty when no line
// matches. Lines without "=" are skipped.
std::wstring FindCityCode(std::wstring_view FileText, std::wstring_view ACity);
