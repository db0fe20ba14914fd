// Which version is newer: the installed "Kelvara.exe" or the one the update host announces.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The first four dotted parts; a missing part or one that is not an integer reads as 0.
using TVersionParts = std::array<std::int32_t, 4>;

TVersionParts ParseVersion(std::wstring_view Text);

// True exactly when Announced is greater than Installed, part by part from the left.
bool UpdateAvailable(std::wstring_view Installed, std::wstring_view Announced);
