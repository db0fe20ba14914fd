// Time of day and the skin word of the weather window's backgrounds. The clock is an
// argument: the local hour, 0 to 23.
#pragma once

#include <cstdint>
#include <string>

// 19:00 to 05:59.
bool IsNight(int AHour);
// 13:00 to 18:59.
bool IsAfternoon(int AHour);

// "Black" at night; else "BLUE" or "GRAY" by the sky's icon code, "Blue" for codes in neither group.
std::wstring GetSkinColor(std::int32_t ASkyCode, int AHour);
