#include "WeatherPage.h"

#include <algorithm>
#include <cstdint>

#include "TextDecoding.h"
#include "WeatherIcons.h"
#include "ZekText.h"

namespace {

constexpr std::wstring_view kTitleMark = L"title=\"";
constexpr std::wstring_view kLinkMark = L"target=\"_blank\">";

// Where one day's fields go; null for what the day does not keep.
struct TDayFields {
  std::wstring* Date;
  std::int32_t* DayIcon;
  std::int32_t* NightIcon;
  std::wstring* DayText;
  std::wstring* NightText;
  std::wstring* Low;
  std::wstring* High;
  std::wstring* Wind;
};

// The scan over one page. The remaining page is a view that only shrinks from the front,
// so every step costs at most one search through it and nothing is copied.
class TPageScan {
 public:
  explicit TPageScan(std::wstring_view Page) : FPage(Page) {}

  void ParseDay(int N, const TDayFields& Out) {
    const std::wstring key = L"<!--day " + std::to_wstring(N) + L"-->";
    if (FPage.find(key) == std::wstring_view::npos) return;
    AdvancePast(key);
    AdvancePast(L"<tr>");
    ReadDayRow(Out);
    if (HasNightRow()) ReadNightRow(Out);
  }

 private:
  // Seven cells: date, a label, icon, weather text, high, wind direction, wind force.
  void ReadDayRow(const TDayFields& Out) {
    NextCell();
    const std::size_t title = FCell.find(kTitleMark);
    if (title != std::wstring::npos) {
      FCell.erase(0, title);
      *Out.Date = Between(FCell, L">", L"</a>");
    } else {
      *Out.Date = Between(FCell, L">", L"<");
    }
    AdvancePast(L"</td>");
    AdvancePast(L"</td>");

    NextCell();
    *Out.DayIcon = GetIconCode(Between(FCell, L"icon_weather/29x20/d", L".gif"));
    AdvancePast(L"</td>");
    NextCell();
    *Out.DayText = Between(FCell, kLinkMark, L"</a>");
    AdvancePast(L"</td>");
    NextCell();
    *Out.High = Between(FCell, L"<strong>", L"</strong>");
    AdvancePast(L"</td>");
    NextCell();
    std::wstring wind = JoinTrimmedLines(Between(FCell, kLinkMark, L"</a>"));
    AdvancePast(L"</td>");
    NextCell();
    wind += L" " + JoinTrimmedLines(Between(FCell, kLinkMark, L"</a>"));
    *Out.Wind = std::move(wind);
    AdvancePast(L"</td>");
  }

  // The date cell spans both rows: a label, icon, weather text; the low is the next strong
  // element of the page, wherever it is.
  void ReadNightRow(const TDayFields& Out) {
    AdvancePast(L"</td>");
    NextCell();
    const std::int32_t nightIcon = GetIconCode(Between(FCell, L"icon_weather/29x20/n", L".gif"));
    if (Out.NightIcon) *Out.NightIcon = nightIcon;
    AdvancePast(L"</td>");
    NextCell();
    *Out.NightText = Between(FCell, kLinkMark, L"</a>");
    AdvancePast(L"</td>");
    *Out.Low = Between(FPage, L"<strong>", L"</strong>");
  }

  // 1-based position of the first Mark in the remaining page, 0 when absent.
  std::size_t Pos(std::wstring_view Mark) const {
    const std::size_t at = FPage.find(Mark);
    return at == std::wstring_view::npos ? 0 : at + 1;
  }

  // The page from the character behind the first Mark on. An absent Mark (position 0)
  // still drops length(Mark) - 1 characters: the page is never checked for it.
  void AdvancePast(std::wstring_view Mark) {
    const std::size_t from = Pos(Mark) + Mark.size() - 1;
    FPage.remove_prefix(std::min(from, FPage.size()));
  }

  // The cell is kept when the page has no further cell.
  void NextCell() { TextBetween(FPage, L"<td", L"/td>", FCell); }

  static std::wstring Between(std::wstring_view Text, std::wstring_view Start, std::wstring_view End) {
    std::wstring out;
    TextBetween(Text, Start, End, out);
    return out;
  }

  // A night row follows unless the next row starts 20 or more characters after the end of
  // the day row; a page with no further row still reads one.
  bool HasNightRow() const {
    const auto e = static_cast<std::int64_t>(Pos(L"</tr>"));
    const auto t = static_cast<std::int64_t>(Pos(L"<tr>"));
    return t - e < 20;
  }

  std::wstring_view FPage;
  std::wstring FCell;  // shared by all days of one page
};

}  // namespace

bool ParseWeather(std::wstring_view AText, TWeatherForecast& Forecast) {
  const std::wstring text = LowerAscii(AText);
  TPageScan scan(text);
  TWeatherForecast& f = Forecast;
  std::wstring low, high;
  scan.ParseDay(1, {&f.FDayCaption, &f.WeatherIcon, nullptr, &f.WeatherText, &f.WeatherText, &low, &high, &f.wind1});
  f.tmp1 = low.empty() ? high : low + L" ~ " + high;
  scan.ParseDay(2, {&f.DayDate2, &f.weatherIcon2AM, &f.weatherIcon2PM, &f.weatherText2AM, &f.weatherText2PM,
                    &f.tmp2Low, &f.tmp2High, &f.wind2});
  scan.ParseDay(3, {&f.DayDate3, &f.weatherIcon3AM, &f.weatherIcon3PM, &f.weatherText3AM, &f.weatherText3PM,
                    &f.tmp3Low, &f.tmp3High, &f.wind3});
  scan.ParseDay(4, {&f.DayDate4, &f.weatherIcon4AM, &f.weatherIcon4PM, &f.weatherText4AM, &f.weatherText4PM,
                    &f.tmp4Low, &f.tmp4High, &f.wind4});
  return true;
}

std::wstring JoinTrimmedLines(std::wstring_view AText) {
  std::wstring out;
  for (const std::wstring& line : SplitLines(AText)) {
    std::size_t from = 0, to = line.size();
    while (from < to && static_cast<std::uint32_t>(line[from]) <= 32) ++from;
    while (to > from && static_cast<std::uint32_t>(line[to - 1]) <= 32) --to;
    out.append(line, from, to - from);
  }
  return out;
}
