// TFmWeather: the weather widget's window. Two faces, docked in the bar (146 x 65) and
// floating (278 x 192), showing today's weather and a three-day outlook for one city; the
// forecast comes from a worker (RefreshThread) and is shown when its message arrives.
#pragma once

#include <windows.h>

#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RefreshThread.h"
#include "WeatherForecast.h"
#include "WidgetParent.h"

class TFmWeather : public TFmWidgetParent {
 public:
  enum TWeatherTimer : UINT_PTR { tmrRefresh = tmrUser, tmrNight };
  enum TWeatherMenuItem : UINT { mniRefreshWeather = mniUser };

  // Creates, initialises and shows a weather window; returns its IWidget.
  static IWidget* ShowForm(ISidebar* ASidebar, const std::wstring& ALibraryFile = GetModuleFile());

  explicit TFmWeather(ISidebar* ASidebar, const std::wstring& ALibraryFile = GetModuleFile());
  ~TFmWeather() override;
  // Creates the window (see TFmWidgetParent::CreateWidget).
  bool Create();

  void InitWin() override;
  void LoadWidgetSet() override;
  void SaveWidgetSet() override;
  void FlashWindow(const std::wstring& AFileName) override;
  void Lock() override;
  void UnLock() override;
  void DrawWindow() override;
  // The slot the widget takes in the bar: the docked size in both faces.
  INT32 STDMETHODCALLTYPE GetWidth() override { return 146; }
  INT32 STDMETHODCALLTYPE GetHeight() override { return 65; }

  const std::wstring& City() const { return FCity; }
  // A name that differs from the city (ASCII letters without case) refreshes the forecast.
  void SetCity(const std::wstring& Value);
  void RefreshWeather();
  void ShowWeather();
  // Shows AForecast as a successful download would (one redraw).
  void ShowForecast(const TWeatherForecast& AForecast);
  std::wstring GetSkinColor() const;
  bool IsNight() const;
  bool IsAfternoon() const;

  const TWeatherForecast& Forecast() const { return FForecast; }
  std::int32_t SkyCode() const { return SkyCodeValue; }
  bool IsValue() const { return FIsValue; }
  bool IsNightShown() const { return FIsNight; }
  bool Refreshing() const { return FThread != nullptr; }
  bool Docked() const { return FDockedFace; }
  // The tooltip of a button (empty when it has none).
  std::wstring Hint(const TPNGButton& Button) const;

  // The local time; tests put a fixed clock here.
  std::function<std::tm()> Now;
  // Where the forecast is downloaded: the host of the weather service (tests change it).
  std::wstring ServiceHost;

  TPNGButton ImgBg, ImgBigIcon, ImgWeb, ImgRefresh, ImgGrid, ImgTpu, ImgWeather, ImgTpuRound, ImgCity;
  TPNGButton ImgDay1, ImgDay2, ImgDay3, ImgDay1Tpu1, ImgDay2Tpu1, ImgDay3Tpu1, ImgDay1Tpu2, ImgDay2Tpu2,
      ImgDay3Tpu2, ImgDay1Pic, ImgDay2Pic, ImgDay3Pic, ImgLine;
  TPNGButton ImgDockBG, ImgDockBigIcon, ImgDockLine, ImgDockTpuRound, ImgDockCity;

 protected:
  void FormCreate() override;
  void PaintButtons(Gdiplus::Graphics& Graphics) override;
  void mniSetClick() override;
  bool UserMenuCommand(UINT Id) override;
  void TimerTick(UINT_PTR Timer) override;
  bool DragsWindow(const TPNGButton& Button) const override;
  void FormDestroy() override;
  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateButtons();
  // The buttons of each face, back to front.
  std::vector<TPNGButton*> DockedButtons();
  std::vector<TPNGButton*> FloatingButtons();
  // Only the buttons of the face on show take the mouse.
  void ShowFace(bool Docked);
  void SetHint(TPNGButton& Button, const std::wstring& Text);
  void UpdateHintRects();
  // Both city captions: the city, or the status "刷新..." / "获取天气失败".
  void SetCityCaption(const std::wstring& Text);
  void WMGetWeather(const TRefreshJob* Job);
  void tmrRefreshTimer();
  void tmrNightTimer();
  void ImgWebClick();
  int Hour() const;
  std::wstring ImageDir() const;

  TWeatherForecast FForecast;
  std::int32_t SkyCodeValue = 0;
  std::wstring FCity;
  bool FIsValue = false;
  bool FIsNight = false;
  bool FDockedFace = true;
  std::shared_ptr<TRefreshJob> FThread;  // the running worker's job, or none
  HWND FHints = nullptr;                 // the tooltip window
  std::map<const TPNGButton*, std::wstring> FHintTexts;
};
