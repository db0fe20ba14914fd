// Scraping the weather service's forecast page into the forecast fields.
#pragma once

#include <string>
#include <string_view>

#include "WeatherForecast.h"

// Lowers the ASCII letters of AText, then reads the blocks of days 1 to 4 into Forecast.
// A day whose marker is missing keeps all its fields, a day without a night row keeps its
// night fields; tmp1 is rebuilt on every call. Time linear in the size of the text.
// Always true: a page without the expected structure is still a page.
bool ParseWeather(std::wstring_view AText, TWeatherForecast& Forecast);

// Splits at CR, LF or CR LF, trims characters up to 32 from both ends of each line and
// concatenates the lines with nothing between them.
std::wstring JoinTrimmedLines(std::wstring_view AText);
