// The forecast fields of a weather window: what one page parse fills in. Days are
// numbered as on the page: day 1 is today, days 2 to 4 the next three days.
#pragma once

#include <cstdint>
#include <string>

struct TWeatherForecast {
  // Day 1.
  std::wstring FDayCaption;  // text of the date cell
  std::int32_t WeatherIcon = 0;  // icon code of the day row
  std::wstring WeatherText;  // night row's text when the block has one, else the day row's
  std::wstring tmp1;         // "low ~ high", or the high alone
  std::wstring wind1;        // direction, one space, force

  // Days 2 to 4.
  std::wstring DayDate2, DayDate3, DayDate4;
  std::int32_t weatherIcon2AM = 0, weatherIcon3AM = 0, weatherIcon4AM = 0;  // day rows
  std::int32_t weatherIcon2PM = 0, weatherIcon3PM = 0, weatherIcon4PM = 0;  // night rows
  std::wstring weatherText2AM, weatherText3AM, weatherText4AM;
  std::wstring weatherText2PM, weatherText3PM, weatherText4PM;
  std::wstring tmp2High, tmp3High, tmp4High;  // day rows
  std::wstring tmp2Low, tmp3Low, tmp4Low;     // night rows
  std::wstring wind2, wind3, wind4;           // day rows: direction, one space, force
};
