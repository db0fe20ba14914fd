#include "WeatherPage.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "WeatherPageBuilder.h"

namespace {

TWeatherForecast Parse(const std::wstring& Page, TWeatherForecast Forecast = {}) {
  EXPECT_TRUE(ParseWeather(Page, Forecast));
  return Forecast;
}

TEST(ParseWeatherTest, FourDaysFillEveryField) {
  const TWeatherForecast f = Parse(WeatherPage(FourDays()));
  EXPECT_EQ(f.FDayCaption, L"7日星期二");
  EXPECT_EQ(f.WeatherIcon, 26);        // day row's 01; the night row's 07 is not kept for day 1
  EXPECT_EQ(f.WeatherText, L"小雨");   // the night text wins over the day text
  EXPECT_EQ(f.tmp1, L"23℃ ~ 29℃");    // low first
  EXPECT_EQ(f.wind1, L"东南风 3-4级");

  EXPECT_EQ(f.DayDate2, L"8日星期三");
  EXPECT_EQ(f.weatherIcon2AM, 9);
  EXPECT_EQ(f.weatherIcon2PM, 10);
  EXPECT_EQ(f.weatherText2AM, L"阵雨");
  EXPECT_EQ(f.weatherText2PM, L"中雨");
  EXPECT_EQ(f.tmp2High, L"28℃");
  EXPECT_EQ(f.tmp2Low, L"22℃");
  EXPECT_EQ(f.wind2, L"南风 微风");

  EXPECT_EQ(f.DayDate3, L"9日星期四");
  EXPECT_EQ(f.weatherIcon3AM, 1);
  EXPECT_EQ(f.weatherIcon3PM, 26);
  EXPECT_EQ(f.weatherText3AM, L"雷阵雨");
  EXPECT_EQ(f.weatherText3PM, L"阴");
  EXPECT_EQ(f.tmp3High, L"27℃");
  EXPECT_EQ(f.tmp3Low, L"21℃");
  EXPECT_EQ(f.wind3, L"西南风 4-5级");

  EXPECT_EQ(f.DayDate4, L"10日星期五");
  EXPECT_EQ(f.weatherIcon4AM, 31);
  EXPECT_EQ(f.weatherIcon4PM, 26);
  EXPECT_EQ(f.weatherText4AM, L"晴");
  EXPECT_EQ(f.weatherText4PM, L"多云");
  EXPECT_EQ(f.tmp4High, L"30℃");
  EXPECT_EQ(f.tmp4Low, L"24℃");
  EXPECT_EQ(f.wind4, L"无持续风向 微风");
}

TEST(ParseWeatherTest, MissingDayOneKeepsItsFieldsAndEmptiesTmp1) {
  TWeatherForecast before;
  before.FDayCaption = L"old date";
  before.WeatherIcon = 17;
  before.WeatherText = L"old text";
  before.wind1 = L"old wind";
  before.tmp1 = L"1 ~ 2";
  auto days = FourDays();
  days.erase(days.begin());
  const TWeatherForecast f = Parse(WeatherPage(days), before);
  EXPECT_EQ(f.FDayCaption, L"old date");
  EXPECT_EQ(f.WeatherIcon, 17);
  EXPECT_EQ(f.WeatherText, L"old text");
  EXPECT_EQ(f.wind1, L"old wind");
  EXPECT_EQ(f.tmp1, L"");
  EXPECT_EQ(f.DayDate2, L"8日星期三");
  EXPECT_EQ(f.tmp3Low, L"21℃");
  EXPECT_EQ(f.wind4, L"无持续风向 微风");
}

TEST(ParseWeatherTest, MissingDayKeepsTheFieldsOfAnEarlierParse) {
  TWeatherForecast f = Parse(WeatherPage(FourDays()));
  auto days = FourDays();
  days.erase(days.begin() + 2);  // day 3
  for (auto& d : days) d.High = L"33℃";
  f = Parse(WeatherPage(days), f);
  EXPECT_EQ(f.tmp1, L"23℃ ~ 33℃");
  EXPECT_EQ(f.tmp2High, L"33℃");
  EXPECT_EQ(f.tmp4High, L"33℃");
  EXPECT_EQ(f.DayDate3, L"9日星期四");
  EXPECT_EQ(f.tmp3High, L"27℃");
  EXPECT_EQ(f.weatherIcon3PM, 26);
  EXPECT_EQ(f.wind3, L"西南风 4-5级");
}

// The night row counts when the next "<tr>" starts less than 20 characters after the "</tr>".
struct TGapCase {
  const char* Name;
  std::wstring BetweenRows;
  bool NightRead;
};

class NightRowGapTest : public testing::TestWithParam<TGapCase> {};

TEST_P(NightRowGapTest, NightFieldsOnlyWhenTheRowIsNear) {
  const TGapCase& c = GetParam();
  TWeatherForecast before;
  before.weatherIcon2PM = 5;
  before.weatherText2PM = L"old night";
  before.tmp2Low = L"old low";
  auto days = FourDays();
  for (auto& d : days) d.BetweenRows = c.BetweenRows;
  const TWeatherForecast f = Parse(WeatherPage(days), before);
  EXPECT_EQ(f.weatherText2AM, L"阵雨");
  EXPECT_EQ(f.wind2, L"南风 微风");
  if (c.NightRead) {
    EXPECT_EQ(f.WeatherText, L"小雨");
    EXPECT_EQ(f.tmp1, L"23℃ ~ 29℃");
    EXPECT_EQ(f.weatherIcon2PM, 10);
    EXPECT_EQ(f.weatherText2PM, L"中雨");
    EXPECT_EQ(f.tmp2Low, L"22℃");
  } else {
    EXPECT_EQ(f.WeatherText, L"多云");  // the day text
    EXPECT_EQ(f.tmp1, L"29℃");          // the high alone
    EXPECT_EQ(f.weatherIcon2PM, 5);
    EXPECT_EQ(f.weatherText2PM, L"old night");
    EXPECT_EQ(f.tmp2Low, L"old low");
  }
}

// "</tr>" is 5 characters: the gap between the two positions is 5 + the text between.
INSTANTIATE_TEST_SUITE_P(Cases, NightRowGapTest,
                         testing::Values(TGapCase{"Adjacent", L"", true},
                                         TGapCase{"Gap19", std::wstring(14, L' '), true},
                                         TGapCase{"Gap20", std::wstring(15, L' '), false},
                                         TGapCase{"OtherTable", L"\r\n</table>\r\n<table class=\"night\">\r\n", false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ParseWeatherTest, NoRowAfterTheDayRowStillReadsTheNightCells) {
  // The night cells follow without a "<tr>" of their own, and nothing later has one.
  TDaySpec d = FourDays()[0];
  d.NightRow = false;
  const std::wstring nightCells = L"\r\n<td>夜间</td>\r\n<td><img src=\"/i/icon_weather/29x20/n03.gif\" /></td>\r\n" +
                                  LinkCell(L"阵雨") + L"\r\n<td><strong>19℃</strong></td>";
  std::wstring block = DayBlock(d);
  block.insert(block.find(L"</tr>") + 5, nightCells);
  const TWeatherForecast f = Parse(L"<html>" + block + L"</html>");
  EXPECT_EQ(f.WeatherText, L"阵雨");
  EXPECT_EQ(f.tmp1, L"19℃ ~ 29℃");
}

TEST(ParseWeatherTest, DateFromTitleLinkOrFromPlainCell) {
  auto days = FourDays();
  days[0].DateTitleLink = false;
  days[1].Date = L"8日 <b>星期三</b>";  // a title link's text runs to "</a>"
  TWeatherForecast f = Parse(WeatherPage(days));
  EXPECT_EQ(f.FDayCaption, L"7日星期二");
  EXPECT_EQ(f.DayDate2, L"8日 <b>星期三</b>");

  // Without the title, the date ends at the first "<": a link without a title gives nothing.
  std::wstring page = WeatherPage(days);
  const std::size_t at = page.find(L"<a title=\"");
  page.replace(at, 10, L"<a class=\"");
  f = Parse(page);
  EXPECT_EQ(f.DayDate2, L"");
}

TEST(ParseWeatherTest, AsciiUpperCaseIsLoweredEverywhere) {
  auto days = FourDays();
  days[0].High = L"25°C";
  days[0].Low = L"18°C";
  days[1].DayText = L"Sunny AZ ÄÖ";  // only A to Z change
  std::wstring page = WeatherPage(days);
  for (const wchar_t* tag : {L"<!--day", L"<td", L"</td>", L"<strong>", L"</strong>", L"<tr>", L"</tr>", L"<a title=\"",
                             L"target=\"_blank\">", L"</a>", L"icon_weather/29x20/", L".gif"}) {
    std::wstring upper = tag;
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    for (std::size_t at = 0; (at = page.find(tag, at)) != std::wstring::npos; at += upper.size())
      page.replace(at, upper.size(), upper);
  }
  const TWeatherForecast f = Parse(page);
  EXPECT_EQ(f.tmp1, L"18°c ~ 25°c");
  EXPECT_EQ(f.weatherText2AM, L"sunny az ÄÖ");
  EXPECT_EQ(f.tmp2Low, L"22℃");
}

TEST(ParseWeatherTest, WindOverIndentedLinesIsJoined) {
  auto days = FourDays();
  days[1].WindDirection = L"\r\n        无持续\r\n        风向\r\n      ";
  days[1].WindForce = L"\n\t小于3级 ";
  const TWeatherForecast f = Parse(WeatherPage(days));
  EXPECT_EQ(f.wind2, L"无持续风向 小于3级");
}

TEST(ParseWeatherTest, DatesAndTextsKeepTheirSpaces) {
  auto days = FourDays();
  days[1].Date = L" 8日 ";
  days[1].DayText = L" 阵雨 ";
  days[1].High = L" 28℃";
  const TWeatherForecast f = Parse(WeatherPage(days));
  EXPECT_EQ(f.DayDate2, L" 8日 ");
  EXPECT_EQ(f.weatherText2AM, L" 阵雨 ");
  EXPECT_EQ(f.tmp2High, L" 28℃");
}

TEST(ParseWeatherTest, MissingCellReadsThePreviousCellAgain) {
  // The last day ends after its wind direction: the force reads the direction's cell again,
  // and the night steps, finding no further cell either, read it too.
  std::wstring page = WeatherPage(FourDays());
  const std::size_t force = page.find(L"微风", page.find(L"<!--day 4-->"));
  page.resize(page.rfind(L"<td", force));
  const TWeatherForecast f = Parse(page);
  EXPECT_EQ(f.wind4, L"无持续风向 无持续风向");
  EXPECT_EQ(f.weatherIcon4PM, 31);
  EXPECT_EQ(f.weatherText4PM, L"无持续风向");
  EXPECT_EQ(f.tmp4Low, L"");
}

TEST(ParseWeatherTest, EachParseStartsWithAnEmptyCell) {
  TWeatherForecast f = Parse(WeatherPage(FourDays()));
  f = Parse(L"<!--day 1--><tr>", f);
  EXPECT_EQ(f.FDayCaption, L"");
  EXPECT_EQ(f.WeatherIcon, 31);
  EXPECT_EQ(f.WeatherText, L"");
  EXPECT_EQ(f.wind1, L" ");
  EXPECT_EQ(f.tmp1, L"");
  EXPECT_EQ(f.DayDate2, L"8日星期三");
}

// A marker that is absent still drops all but one of its characters from the page.
struct TAbsentMarkCase {
  std::wstring AfterDayMarker;
  std::wstring Date;
};

class AbsentMarkTest : public testing::TestWithParam<TAbsentMarkCase> {};

TEST_P(AbsentMarkTest, AbsentRowMarkDropsThreeCharacters) {
  const TWeatherForecast f = Parse(L"<!--day 1-->" + GetParam().AfterDayMarker);
  EXPECT_EQ(f.FDayCaption, GetParam().Date);
}

INSTANTIATE_TEST_SUITE_P(Cases, AbsentMarkTest,
                         testing::Values(TAbsentMarkCase{L"xx<td>aa</td><td>bb</td>", L"bb"},
                                         TAbsentMarkCase{L"xxx<td>aa</td><td>bb</td>", L"aa"}));

TEST(ParseWeatherTest, DaysAreSearchedInOrderBehindEachOther) {
  // Day 2's block stands before day 1's: reading day 1 passes it, so day 2 is not found.
  auto days = FourDays();
  std::swap(days[0], days[1]);
  TWeatherForecast before;
  before.DayDate2 = L"kept";
  const TWeatherForecast f = Parse(WeatherPage(days), before);
  EXPECT_EQ(f.FDayCaption, L"7日星期二");
  EXPECT_EQ(f.DayDate2, L"kept");
  EXPECT_EQ(f.DayDate3, L"9日星期四");
}

TEST(ParseWeatherTest, PagesWithoutStructureAreStillParsed) {
  for (const std::wstring page : {L"", L"<!--day 1-->", L"<!--day 4--><td", L"<tr><td></td>", L"\r\n"}) {
    TWeatherForecast f;
    EXPECT_TRUE(ParseWeather(page, f));
  }
}

struct TJoinCase {
  std::wstring Text;
  std::wstring Joined;
};

class JoinTrimmedLinesTest : public testing::TestWithParam<TJoinCase> {};

TEST_P(JoinTrimmedLinesTest, TrimsEachLineAndJoinsWithNothing) {
  EXPECT_EQ(JoinTrimmedLines(GetParam().Text), GetParam().Joined);
}

INSTANTIATE_TEST_SUITE_P(Cases, JoinTrimmedLinesTest,
                         testing::Values(TJoinCase{L"", L""}, TJoinCase{L"  微风 ", L"微风"},
                                         TJoinCase{L"\r\n   无持续\r\n   风向\r\n ", L"无持续风向"},
                                         TJoinCase{L"a\rb\nc\r\nd", L"abcd"},
                                         TJoinCase{L"\t\x1f a b \x01", L"a b"},  // inner spaces stay
                                         TJoinCase{L"\x7f" L"a\x7f", L"\x7f" L"a\x7f"},  // 127 is above 32
                                         TJoinCase{L"\u3000a\u3000", L"\u3000a\u3000"}));

}  // namespace
