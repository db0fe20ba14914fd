#include "WeatherTexts.h"

namespace {

struct TOutlookDay {
  const std::wstring* Date;
  const std::wstring* Low;
  const std::wstring* High;
  const std::wstring* DayText;
  const std::wstring* NightText;
  const std::wstring* Wind;
};

TOutlookDay OutlookDay(const TWeatherForecast& F, int ADay) {
  switch (ADay) {
    case 2: return {&F.DayDate2, &F.tmp2Low, &F.tmp2High, &F.weatherText2AM, &F.weatherText2PM, &F.wind2};
    case 3: return {&F.DayDate3, &F.tmp3Low, &F.tmp3High, &F.weatherText3AM, &F.weatherText3PM, &F.wind3};
    case 4: return {&F.DayDate4, &F.tmp4Low, &F.tmp4High, &F.weatherText4AM, &F.weatherText4PM, &F.wind4};
    default: return {};
  }
}

}  // namespace

std::wstring CityTooltip(const std::wstring& ACity, const TWeatherForecast& Forecast) {
  return ACity + L" " + Forecast.FDayCaption + L"\r\n温度: " + Forecast.tmp1 + L"\r\n风力: " + Forecast.wind1;
}

std::wstring OutlookTooltip(const TWeatherForecast& Forecast, int ADay) {
  const TOutlookDay d = OutlookDay(Forecast, ADay);
  if (!d.Date) return {};
  return *d.Date + L"\r\n温度: " + *d.Low + L" - " + *d.High + L"\r\n上午: " + *d.DayText + L"\r\n下午: " +
         *d.NightText + L"\r\n风力: " + *d.Wind;
}
