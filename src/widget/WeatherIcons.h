// The widget's icon codes: from the service's phenomenon numbers, and to image names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The service number in AText (decimal; anything else counts as 0) as the widget's icon code.
std::int32_t GetIconCode(std::wstring_view AText);

// The image name of an icon code ("sun", "cloudy", "Rainy", ...); "sun" for unknown codes.
std::wstring GetIconName(std::int32_t ACode);
