#include "WeatherTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TWeatherForecast Sample() {
  TWeatherForecast f;
  f.FDayCaption = L"7日星期二";
  f.tmp1 = L"23℃ ~ 29℃";
  f.wind1 = L"东南风 3-4级";
  f.DayDate2 = L"8日星期三", f.tmp2Low = L"22℃", f.tmp2High = L"28℃";
  f.weatherText2AM = L"阵雨", f.weatherText2PM = L"中雨", f.wind2 = L"南风 微风";
  f.DayDate3 = L"9日星期四", f.tmp3Low = L"21℃", f.tmp3High = L"27℃";
  f.weatherText3AM = L"雷阵雨", f.weatherText3PM = L"阴", f.wind3 = L"西南风 4-5级";
  f.DayDate4 = L"10日星期五", f.tmp4Low = L"24℃", f.tmp4High = L"30℃";
  f.weatherText4AM = L"晴", f.weatherText4PM = L"多云", f.wind4 = L"无持续风向 微风";
  return f;
}

TEST(WeatherTextsTest, CityTooltip) {
  EXPECT_EQ(CityTooltip(L"珠海", Sample()), L"珠海 7日星期二\r\n温度: 23℃ ~ 29℃\r\n风力: 东南风 3-4级");
  EXPECT_EQ(CityTooltip(L"珠海", TWeatherForecast{}), L"珠海 \r\n温度: \r\n风力: ");
}

struct TOutlookCase {
  int Day;
  std::wstring Tooltip;
};

class OutlookTooltipTest : public testing::TestWithParam<TOutlookCase> {};

TEST_P(OutlookTooltipTest, LowBeforeHighAndDayBeforeNight) {
  EXPECT_EQ(OutlookTooltip(Sample(), GetParam().Day), GetParam().Tooltip);
}

INSTANTIATE_TEST_SUITE_P(
    Days, OutlookTooltipTest,
    testing::Values(
        TOutlookCase{2, L"8日星期三\r\n温度: 22℃ - 28℃\r\n上午: 阵雨\r\n下午: 中雨\r\n风力: 南风 微风"},
        TOutlookCase{3, L"9日星期四\r\n温度: 21℃ - 27℃\r\n上午: 雷阵雨\r\n下午: 阴\r\n风力: 西南风 4-5级"},
        TOutlookCase{4, L"10日星期五\r\n温度: 24℃ - 30℃\r\n上午: 晴\r\n下午: 多云\r\n风力: 无持续风向 微风"},
        TOutlookCase{1, L""}, TOutlookCase{5, L""}, TOutlookCase{-2, L""}));

}  // namespace
