// Times DrawWindow of the weather widget's two faces (compose, then push) under the real
// window system, with a forecast shown: compose and push medians, and the first compose
// after a skin file changed.
// Usage: WeatherDrawBench [rounds] [directory to save both faces as PNG]
// (the widget's images are found in Widgets\Weather\ beside the executable)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "Application.h"
#include "DrawTiming.h"
#include "FakeSidebar.h"
#include "SkinImage.h"
#include "Weather.h"
#include "ZekTools.h"

namespace {

TWeatherForecast SampleForecast() {
  TWeatherForecast f;
  f.FDayCaption = L"7日星期二";
  f.WeatherIcon = 26;
  f.WeatherText = L"小雨";
  f.tmp1 = L"23℃ ~ 29℃";
  f.wind1 = L"东南风 3-4级";
  f.DayDate2 = L"8日星期三";
  f.DayDate3 = L"9日星期四";
  f.DayDate4 = L"10日星期五";
  f.weatherIcon2AM = 9, f.weatherIcon2PM = 10, f.weatherIcon3AM = 1, f.weatherIcon3PM = 26;
  f.weatherIcon4AM = 31, f.weatherIcon4PM = 26;
  f.tmp2High = L"28℃", f.tmp2Low = L"22℃", f.tmp3High = L"27℃", f.tmp3Low = L"21℃";
  f.tmp4High = L"30℃", f.tmp4Low = L"24℃";
  f.weatherText2AM = L"阵雨", f.weatherText2PM = L"中雨", f.weatherText3AM = L"雷阵雨", f.weatherText3PM = L"阴";
  f.weatherText4AM = L"晴", f.weatherText4PM = L"多云";
  f.wind2 = L"南风 微风", f.wind3 = L"西南风 4-5级", f.wind4 = L"无持续风向 微风";
  return f;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? _wtoi(argv[1]) : 100;
  const std::wstring saveDir = argc > 2 ? std::wstring(argv[2]) + L"\\" : L"";
  const TGdiPlusSession gdiplus;
  Application.Initialize();
  {
    TFakeSidebar sidebar;
    auto* weather = new TFmWeather(&sidebar, GetModuleDir() + L"Widgets\\Weather\\Widget.dll");
    if (!weather->Create()) return 1;
    weather->Now = [] {
      std::tm noon{};
      noon.tm_hour = 11;
      return noon;
    };
    weather->InitWin();
    weather->ShowWidget();
    weather->ShowForecast(SampleForecast());

    ReportDraw(*weather, "docked", rounds, weather->GetBlendAlpha(),
               [&] { TouchFile(weather->ImgDockBG.ImageNormal()); });
    if (!saveDir.empty()) weather->FlashWindow(saveDir + L"docked.png");
    weather->UnLock();
    ReportDraw(*weather, "floating", rounds, weather->GetBlendAlpha(), [&] { TouchFile(weather->ImgBg.ImageNormal()); });
    if (!saveDir.empty()) weather->FlashWindow(saveDir + L"floating.png");
    ::DeleteFileW((GetModuleDir() + L"Widgets\\Weather\\Seting.ini").c_str());
    ::DestroyWindow(weather->Handle());  // frees it
    ::DeleteFileW((GetModuleDir() + L"Widgets\\Weather\\Seting.ini").c_str());
  }
  Application.Finalize();
  return 0;
}
