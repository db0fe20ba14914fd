// Forecast pages of our own making, in the shape the page parser reads: per day a day
// marker, a table whose first row holds seven cells and, right after it, a night row.
#pragma once

#include <string>
#include <vector>

struct TDaySpec {
  int N = 1;
  std::wstring Date = L"7日星期二";
  bool DateTitleLink = true;  // the date is the text of <a title="...">
  std::wstring DateTitle = L"农历四月初一";
  std::wstring DayIcon = L"01";
  std::wstring DayText = L"晴";
  std::wstring High = L"25℃";
  std::wstring WindDirection = L"无持续风向";
  std::wstring WindForce = L"微风";
  bool NightRow = true;
  std::wstring BetweenRows = L"\r\n";  // from the day row's "</tr>" to the night row's "<tr>"
  std::wstring NightIcon = L"02";
  std::wstring NightText = L"多云";
  std::wstring Low = L"18℃";
};

inline std::wstring DateCell(const TDaySpec& D) {
  if (D.DateTitleLink)
    return L"<td rowspan=\"2\" width=\"62\"><a title=\"" + D.DateTitle + L"\" href=\"/html/weather/day.shtml\">" +
           D.Date + L"</a></td>";
  return L"<td rowspan=\"2\" width=\"62\">" + D.Date + L"</td>";
}

inline std::wstring LinkCell(const std::wstring& Text) {
  return L"<td width=\"72\"><a href=\"http://www.example.invalid/static/html/legend.shtml\" target=\"_blank\">" + Text +
         L"</a></td>";
}

inline std::wstring DayRow(const TDaySpec& D) {
  return L"<tr>\r\n" + DateCell(D) + L"\r\n<td width=\"30\">白天</td>\r\n" +
         L"<td width=\"40\"><a href=\"/legend.shtml\"><img src=\"/m2/i/icon_weather/29x20/d" + D.DayIcon +
         L".gif\" alt=\"\" /></a></td>\r\n" + LinkCell(D.DayText) + L"\r\n" +
         L"<td width=\"86\"><span class=\"c1\">高温 <strong>" + D.High + L"</strong></span></td>\r\n" +
         LinkCell(D.WindDirection) + L"\r\n" + LinkCell(D.WindForce) + L"\r\n</tr>";
}

inline std::wstring NightRow(const TDaySpec& D) {
  return std::wstring(L"<tr>\r\n<td width=\"30\">夜间</td>\r\n") +
         L"<td width=\"40\"><a href=\"/legend.shtml\"><img src=\"/m2/i/icon_weather/29x20/n" + D.NightIcon +
         L".gif\" alt=\"\" /></a></td>\r\n" + LinkCell(D.NightText) + L"\r\n" +
         L"<td width=\"86\"><span class=\"c2\">低温 <strong>" + D.Low + L"</strong></span></td>\r\n</tr>";
}

inline std::wstring DayBlock(const TDaySpec& D) {
  std::wstring block = L"<!--day " + std::to_wstring(D.N) + L"-->\r\n<div class=\"fut_weather\">\r\n" +
                       L"<table class=\"yuBaoTable\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\">\r\n" +
                       DayRow(D);
  if (D.NightRow) block += D.BetweenRows + NightRow(D);
  return block + L"\r\n</table>\r\n</div>\r\n";
}

inline std::wstring WeatherPage(const std::vector<TDaySpec>& Days, const std::wstring& Head = L"",
                                const std::wstring& Tail = L"") {
  std::wstring page = L"<!DOCTYPE html>\r\n<html>\r\n<head><title>天气预报</title></head>\r\n<body>\r\n" + Head;
  for (const TDaySpec& d : Days) page += DayBlock(d);
  return page + Tail + L"</body>\r\n</html>\r\n";
}

// Four plausible days, each with its own values.
inline std::vector<TDaySpec> FourDays() {
  return {
      {.N = 1, .Date = L"7日星期二", .DayIcon = L"01", .DayText = L"多云", .High = L"29℃",
       .WindDirection = L"东南风", .WindForce = L"3-4级", .NightIcon = L"07", .NightText = L"小雨", .Low = L"23℃"},
      {.N = 2, .Date = L"8日星期三", .DayIcon = L"03", .DayText = L"阵雨", .High = L"28℃",
       .WindDirection = L"南风", .WindForce = L"微风", .NightIcon = L"08", .NightText = L"中雨", .Low = L"22℃"},
      {.N = 3, .Date = L"9日星期四", .DayIcon = L"04", .DayText = L"雷阵雨", .High = L"27℃",
       .WindDirection = L"西南风", .WindForce = L"4-5级", .NightIcon = L"02", .NightText = L"阴", .Low = L"21℃"},
      {.N = 4, .Date = L"10日星期五", .DayIcon = L"00", .DayText = L"晴", .High = L"30℃",
       .WindDirection = L"无持续风向", .WindForce = L"微风", .NightIcon = L"01", .NightText = L"多云", .Low = L"24℃"},
  };
}
