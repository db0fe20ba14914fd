// The tooltip texts of the weather window.
#pragma once

#include <string>

#include "WeatherForecast.h"

// City, " ", date caption, CR LF, "温度: " tmp1, CR LF, "风力: " wind1.
std::wstring CityTooltip(const std::wstring& ACity, const TWeatherForecast& Forecast);

// The outlook day ADay (2, 3 or 4): date; "温度: " low " - " high; "上午: " day text;
// "下午: " night text; "风力: " wind; lines joined by CR LF. Empty for other days.
std::wstring OutlookTooltip(const TWeatherForecast& Forecast, int ADay);
