#include "Weather.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "WeatherIcons.h"
#include "WeatherSet.h"
#include "WeatherSkin.h"
#include "WeatherTexts.h"
#include "ZekText.h"

#ifndef WEATHER_SERVICE_HOST_W
#define WEATHER_SERVICE_HOST_W L"www.weather.com.cn"
#endif

namespace {

constexpr int kFloatingWidth = 278, kFloatingHeight = 192;
constexpr int kDockedWidth = 146, kDockedHeight = 65;
constexpr wchar_t kWeatherSection[] = L"Weather";
constexpr wchar_t kSettingsFile[] = L"seting.ini";
constexpr wchar_t kDefaultCity[] = L"珠海";
constexpr wchar_t kRefreshing[] = L"刷新...";
constexpr wchar_t kFailed[] = L"获取天气失败";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDayGrey = RGB(209, 209, 209);

// Form fonts are given as character heights in pixels; captions are drawn in points.
TFont PixelFont(const wchar_t* Name, int Pixels, COLORREF Color, bool Bold = false) {
  TFont font;
  font.Name = Name;
  font.Size = static_cast<float>(Pixels) * 72.0f / 96.0f;
  font.Color = Color;
  font.Bold = Bold;
  return font;
}

void Place(TPNGButton& Button, int Left, int Top, int Width, int Height, const TFont* Font = nullptr,
           Gdiplus::StringAlignment Alignment = Gdiplus::StringAlignmentNear) {
  Button.SetBounds(Left, Top, Width, Height);
  if (Font) {
    Button.Font = *Font;
    Button.FontOver = *Font;
    // Page texts vary in length; a long one shrinks rather than breaking into the next line.
    Button.FitCaption = true;
  }
  Button.FStringAlignment = Alignment;
}

}  // namespace

IWidget* TFmWeather::ShowForm(ISidebar* ASidebar, const std::wstring& ALibraryFile) {
  auto* window = new TFmWeather(ASidebar, ALibraryFile);
  if (!window->Create()) {
    delete window;
    return nullptr;
  }
  try {
    window->InitWin();
    window->ShowWidget();
  } catch (...) {
    ::DestroyWindow(window->Handle());  // unregisters and frees it
    throw;
  }
  return window->Widget();
}

TFmWeather::TFmWeather(ISidebar* ASidebar, const std::wstring& ALibraryFile)
    : TFmWidgetParent(ASidebar, ALibraryFile) {
  Now = [] {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
  };
  ServiceHost = WEATHER_SERVICE_HOST_W;
}

TFmWeather::~TFmWeather() = default;

bool TFmWeather::Create() { return CreateWidget(L"TFmWeather", kFloatingWidth, kFloatingHeight); }

void TFmWeather::FormCreate() {
  CreateButtons();
  TFmWidgetParent::FormCreate();
  // Both run from creation on: the first download about ten seconds later.
  ::SetTimer(Handle(), tmrRefresh, 10000, nullptr);
  ::SetTimer(Handle(), tmrNight, 1000, nullptr);
}

void TFmWeather::CreateButtons() {
  using Gdiplus::StringAlignmentFar;
  for (TPNGButton* button : FloatingButtons()) AddButton(*button);
  for (TPNGButton* button : DockedButtons()) AddButton(*button);

  const TFont web = PixelFont(L"黑体", 11, kWhite);
  const TFont big = PixelFont(L"Tahoma", 32, kWhite);
  const TFont text16 = PixelFont(L"黑体", 16, kWhite);
  const TFont text13 = PixelFont(L"黑体", 13, kWhite);
  const TFont city = PixelFont(L"黑体", 19, kWhite);
  const TFont day = PixelFont(L"黑体", 13, kDayGrey);
  const TFont dayTemperature = PixelFont(L"Tahoma", 12, kDayGrey);

  // The floating face.
  ImgBg.AutoSize = true;
  Place(ImgBg, 0, 0, kFloatingWidth, kFloatingHeight);
  Place(ImgBigIcon, 0, 0, 264, 194);
  Place(ImgWeb, 16, 159, 89, 18, &web);
  ImgWeb.SetCaption(L"查看详细天气");
  ImgWeb.OnClick = [this](TPNGButton&) { ImgWebClick(); };
  ImgWeb.Cursor = IDC_HAND;
  Place(ImgRefresh, 226, 159, 13, 13);
  ImgRefresh.OnClick = [this](TPNGButton&) { RefreshWeather(); };
  Place(ImgGrid, -1, 67, 264, 194);
  Place(ImgTpu, 100, 15, 150, 38, &big, StringAlignmentFar);
  Place(ImgWeather, 146, 47, 95, 20, &text16, StringAlignmentFar);
  Place(ImgTpuRound, 154, 68, 95, 17, &text13, StringAlignmentFar);
  Place(ImgCity, 78, 84, 163, 23, &city, StringAlignmentFar);
  const int columns[] = {14, 93, 175};
  const int temperatureColumns[] = {16, 93, 175};
  const int pictureColumns[] = {42, 119, 201};
  TPNGButton* dates[] = {&ImgDay1, &ImgDay2, &ImgDay3};
  TPNGButton* highs[] = {&ImgDay1Tpu1, &ImgDay2Tpu1, &ImgDay3Tpu1};
  TPNGButton* lows[] = {&ImgDay1Tpu2, &ImgDay2Tpu2, &ImgDay3Tpu2};
  TPNGButton* pictures[] = {&ImgDay1Pic, &ImgDay2Pic, &ImgDay3Pic};
  for (int i = 0; i < 3; ++i) {
    Place(*dates[i], columns[i], 107, 80, 17, &day);
    Place(*highs[i], temperatureColumns[i], 124, 30, 17, &dayTemperature);
    Place(*lows[i], temperatureColumns[i], 141, 30, 17, &dayTemperature);
    Place(*pictures[i], pictureColumns[i], 125, 42, 34);
  }
  ImgDay3Tpu1.FontOver.Bold = true;
  Place(ImgLine, 13, 13, 231, 161);

  // The docked face.
  ImgDockBG.AutoSize = true;
  Place(ImgDockBG, 0, 0, kDockedWidth, kDockedHeight);
  Place(ImgDockBigIcon, 0, 0, 130, 67);
  Place(ImgDockLine, 3, 3, 123, 60);
  const TFont dockTemperature = PixelFont(L"Tahoma", 19, kWhite);
  Place(ImgDockTpuRound, 8, 6, 113, 23, &dockTemperature, StringAlignmentFar);
  ImgDockTpuRound.FontOver = PixelFont(L"Tahoma", 21, kWhite);
  const TFont dockCity = PixelFont(L"黑体", 16, kWhite);
  Place(ImgDockCity, 8, 34, 113, 23, &dockCity, StringAlignmentFar);
  ShowFace(true);

  // Not owned by the widget: an owned topmost popup would pin the widget's own z-order.
  FHints = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  if (FHints) ::SendMessageW(FHints, TTM_SETMAXTIPWIDTH, 0, 400);  // CR LF breaks the lines
}

void TFmWeather::LoadWidgetSet() {
  TFmWidgetParent::LoadWidgetSet();
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(kRefreshing);
  if (!::SetMenuItemInfoW(pmWidget, mniRefreshWeather, FALSE, &info)) {
    // First load: the refresh item and its separator go before "设置".
    ::InsertMenuW(pmWidget, 4, MF_BYPOSITION | MF_STRING, mniRefreshWeather, L"刷新天气");
    ::InsertMenuW(pmWidget, 5, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    ::SetMenuItemInfoW(pmWidget, mniRefreshWeather, FALSE, &info);
  }
  FCity = ReadWidgetString(kWeatherSection, L"City", kSettingsFile);
  if (FCity.empty()) FCity = kDefaultCity;
}

void TFmWeather::SaveWidgetSet() {
  TFmWidgetParent::SaveWidgetSet();
  WriteWidgetString(kWeatherSection, L"City", kSettingsFile, FCity);
}

std::wstring TFmWeather::ImageDir() const { return LibraryDir() + L"Images\\"; }

void TFmWeather::InitWin() {
  BeginUpdate();
  TFmWidgetParent::InitWin();
  const std::wstring dir = ImageDir();
  ImgRefresh.SetImageNormal(dir + L"btnChange1.png");
  ImgRefresh.SetImageOver(dir + L"btnChange2.png");
  ImgGrid.SetImageNormal(dir + L"Grid.png");
  ImgLine.SetImageNormal(dir + L"Line.png");
  ImgBg.SetImageNormal(dir + L"BLUE-base.png");
  ImgBigIcon.SetImageNormal(dir + L"icons\\undocked_sun.png");
  ImgDockBG.SetImageNormal(dir + L"BLUEDOCKED-base.png");
  ImgDockLine.SetImageNormal(dir + L"Line.png");
  ImgDockBigIcon.SetImageNormal(dir + L"icons\\docked_sun.png");
  SetCityCaption(kRefreshing);
  if (LockSidebar())
    Lock();
  else
    UnLock();
  FIsNight = false;
  EndUpdate();
}

void TFmWeather::Lock() {
  TFmWidgetParent::Lock();
  BeginUpdate();
  ImgFlatBg.SetBounds(125, 0, ImgFlatBg.Width(), ImgFlatBg.Height());
  ImgFlatClose.SetBounds(131, 2, ImgFlatClose.Width(), ImgFlatClose.Height());
  ImgFlatSet.SetBounds(131, 19, ImgFlatSet.Width(), ImgFlatSet.Height());
  ShowFace(true);
  MoveWindowTo(Left(), Top(), kDockedWidth, kDockedHeight);
  EndUpdate();
}

void TFmWeather::UnLock() {
  TFmWidgetParent::UnLock();
  BeginUpdate();
  ImgFlatBg.SetBounds(258, 0, ImgFlatBg.Width(), ImgFlatBg.Height());
  ImgFlatClose.SetBounds(264, 2, ImgFlatClose.Width(), ImgFlatClose.Height());
  ImgFlatSet.SetBounds(263, 19, ImgFlatSet.Width(), ImgFlatSet.Height());
  ShowFace(false);
  MoveWindowTo(Left(), Top(), kFloatingWidth, kFloatingHeight);
  EndUpdate();
}

void TFmWeather::DrawWindow() {
  if (Updating()) return;
  TFmWidgetParent::DrawWindow();
}

std::vector<TPNGButton*> TFmWeather::DockedButtons() {
  return {&ImgDockBG, &ImgDockBigIcon, &ImgDockLine, &ImgDockTpuRound, &ImgDockCity};
}

std::vector<TPNGButton*> TFmWeather::FloatingButtons() {
  return {&ImgBg,       &ImgBigIcon,  &ImgWeb,      &ImgRefresh,  &ImgGrid,     &ImgTpu,      &ImgWeather, &ImgTpuRound,
          &ImgCity,     &ImgDay1,     &ImgDay1Tpu1, &ImgDay1Tpu2, &ImgDay1Pic,  &ImgDay2,     &ImgDay2Tpu1,
          &ImgDay2Tpu2, &ImgDay2Pic,  &ImgDay3,     &ImgDay3Tpu1, &ImgDay3Tpu2, &ImgDay3Pic,  &ImgLine};
}

void TFmWeather::ShowFace(bool Docked) {
  FDockedFace = Docked;
  for (TPNGButton* button : DockedButtons()) button->Visible = Docked;
  for (TPNGButton* button : FloatingButtons()) button->Visible = !Docked;
  UpdateHintRects();
}

void TFmWeather::PaintButtons(Gdiplus::Graphics& Graphics) {
  for (const TPNGButton* button : FDockedFace ? DockedButtons() : FloatingButtons()) DrawPNGButton(Graphics, *button);
  DrawFlatTool(Graphics);
}

void TFmWeather::FlashWindow(const std::wstring& AFileName) { TFmWidgetParent::FlashWindow(AFileName); }

// Refreshing.

void TFmWeather::RefreshWeather() {
  BeginUpdate();
  SetCityCaption(kRefreshing);
  FIsValue = false;
  if (!FThread) {
    auto job = std::make_shared<TRefreshJob>();
    job->City = FCity;
    job->CityCodeFile = LibraryDir() + L"CityCode.txt";
    job->ServiceHost = ServiceHost;
    // Asked here, while the bar is certainly alive; the worker then needs nothing of it.
    job->UseProxy = TRefreshThread::AskProxy(Sidebar(), job->ProxyHost, job->ProxyPort);
    job->Forecast = FForecast;
    job->Window = Handle();
    FThread = job;
    if (!TRefreshThread::Start(job)) {
      FThread.reset();
      SetCityCaption(kFailed);
    }
  }
  EndUpdate();
}

void TFmWeather::WMGetWeather(const TRefreshJob* Job) {
  // Only the answer of this window's own running worker counts.
  if (!FThread || Job != FThread.get()) return;
  BeginUpdate();
  const std::shared_ptr<TRefreshJob> job = std::move(FThread);
  FThread.reset();
  FIsValue = job->IsValue;
  if (FIsValue) {
    FForecast = job->Forecast;
    ShowWeather();
  } else {
    SetCityCaption(kFailed);
  }
  EndUpdate();
}

void TFmWeather::ShowForecast(const TWeatherForecast& AForecast) {
  BeginUpdate();
  FForecast = AForecast;
  FIsValue = true;
  ShowWeather();
  EndUpdate();
}

void TFmWeather::FormDestroy() {
  // A worker still running hands over to nobody.
  if (FThread) FThread->Window = nullptr;
  FThread.reset();
  ::KillTimer(Handle(), tmrRefresh);
  ::KillTimer(Handle(), tmrNight);
  if (FHints) ::DestroyWindow(FHints);
  FHints = nullptr;
}

void TFmWeather::ShowWeather() {
  const std::wstring dir = ImageDir();
  SkyCodeValue = FForecast.WeatherIcon;
  const std::wstring skin = GetSkinColor();
  ImgBg.SetImageNormal(dir + skin + L"-base.png");
  ImgDockBG.SetImageNormal(dir + skin + L"DOCKED-base.png");
  const std::wstring name = GetIconName(FForecast.WeatherIcon);
  ImgBigIcon.SetImageNormal(dir + L"icons\\undocked_" + name + L".png");
  ImgDockBigIcon.SetImageNormal(dir + L"icons\\docked_" + name + L".png");

  const bool afternoon = IsAfternoon();
  const std::int32_t icons[] = {
      afternoon ? FForecast.weatherIcon2PM : FForecast.weatherIcon2AM,
      afternoon ? FForecast.weatherIcon3PM : FForecast.weatherIcon3AM,
      afternoon ? FForecast.weatherIcon4PM : FForecast.weatherIcon4AM,
  };
  TPNGButton* pictures[] = {&ImgDay1Pic, &ImgDay2Pic, &ImgDay3Pic};
  for (int i = 0; i < 3; ++i) {
    pictures[i]->SetImageNormal(dir + L"small\\" + std::to_wstring(icons[i]) + L".png");
    SetHint(*pictures[i], OutlookTooltip(FForecast, i + 2));
  }

  const std::wstring cityHint = CityTooltip(FCity, FForecast);
  ImgDockTpuRound.SetCaption(FForecast.tmp1);
  SetCityCaption(FCity);
  SetHint(ImgDockCity, cityHint);
  ImgTpu.SetCaption(FForecast.tmp1);
  ImgWeather.SetCaption(FForecast.WeatherText);
  ImgTpuRound.SetCaption(FForecast.tmp1);
  SetHint(ImgCity, cityHint);

  ImgDay1.SetCaption(FForecast.DayDate2);
  ImgDay2.SetCaption(FForecast.DayDate3);
  ImgDay3.SetCaption(FForecast.DayDate4);
  ImgDay1Tpu1.SetCaption(FForecast.tmp2High);
  ImgDay2Tpu1.SetCaption(FForecast.tmp3High);
  ImgDay3Tpu1.SetCaption(FForecast.tmp4High);
  ImgDay1Tpu2.SetCaption(FForecast.tmp2Low);
  ImgDay2Tpu2.SetCaption(FForecast.tmp3Low);
  ImgDay3Tpu2.SetCaption(FForecast.tmp4Low);
}

void TFmWeather::SetCityCaption(const std::wstring& Text) {
  ImgCity.SetCaption(Text);
  ImgDockCity.SetCaption(Text);
  // The window's own text says the same, for screen readers and tools that look at windows.
  ::SetWindowTextW(Handle(), Text.c_str());
}

// Time of day.

int TFmWeather::Hour() const { return Now ? Now().tm_hour : 12; }
bool TFmWeather::IsNight() const { return ::IsNight(Hour()); }
bool TFmWeather::IsAfternoon() const { return ::IsAfternoon(Hour()); }
std::wstring TFmWeather::GetSkinColor() const { return ::GetSkinColor(SkyCodeValue, Hour()); }

void TFmWeather::tmrNightTimer() {
  const bool night = IsNight();
  if (night == FIsNight) return;
  // Only the two backgrounds follow the clock; pictures and texts wait for the next forecast.
  const std::wstring dir = ImageDir();
  const std::wstring skin = GetSkinColor();
  BeginUpdate();
  ImgBg.SetImageNormal(dir + skin + L"-base.png");
  ImgDockBG.SetImageNormal(dir + skin + L"DOCKED-base.png");
  FIsNight = night;
  EndUpdate();
}

void TFmWeather::tmrRefreshTimer() {
  ::KillTimer(Handle(), tmrRefresh);  // once in the window's life
  RefreshWeather();
}

void TFmWeather::TimerTick(UINT_PTR Timer) {
  if (Timer == tmrRefresh) tmrRefreshTimer();
  if (Timer == tmrNight) tmrNightTimer();
}

// Commands.

void TFmWeather::SetCity(const std::wstring& Value) {
  if (SameTextAscii(Value, FCity)) return;
  FCity = Value;
  RefreshWeather();
}

void TFmWeather::mniSetClick() {
  std::wstring city = FCity;
  if (TFmWeatherSet::ShowForm(Handle(), city)) SetCity(city);
}

bool TFmWeather::UserMenuCommand(UINT Id) {
  if (Id != mniRefreshWeather) return false;
  RefreshWeather();
  return true;
}

void TFmWeather::ImgWebClick() {
  std::wstring code;
  try {
    code = GetCityCode(LibraryDir() + L"CityCode.txt", FCity);
  } catch (...) {
  }
  const std::wstring url = L"http://" + ServiceHost + ForecastPath(code) + L"#";
  ::ShellExecuteW(nullptr, L"Open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool TFmWeather::DragsWindow(const TPNGButton& Button) const {
  return &Button != &ImgRefresh && TFmWidgetParent::DragsWindow(Button);
}

// Tooltips: one tool per button with a hint, over the button's rectangle.

std::wstring TFmWeather::Hint(const TPNGButton& Button) const {
  const auto found = FHintTexts.find(&Button);
  return found == FHintTexts.end() ? std::wstring() : found->second;
}

void TFmWeather::SetHint(TPNGButton& Button, const std::wstring& Text) {
  const bool known = FHintTexts.count(&Button) != 0;
  FHintTexts[&Button] = Text;
  if (!FHints) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(&Button);
  tool.rect = RECT{Button.Left(), Button.Top(), Button.Left() + Button.Width(), Button.Top() + Button.Height()};
  tool.lpszText = const_cast<wchar_t*>(FHintTexts[&Button].c_str());
  ::SendMessageW(FHints, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  UpdateHintRects();
}

void TFmWeather::UpdateHintRects() {
  if (!FHints) return;
  const bool dockedFace = FDockedFace;
  for (const auto& [button, text] : FHintTexts) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    // A button of the hidden face gets an empty rectangle, so its tip never shows.
    const bool dockButton = button == &ImgDockCity;
    if (dockButton == dockedFace)
      tool.rect = RECT{button->Left(), button->Top(), button->Left() + button->Width(), button->Top() + button->Height()};
    ::SendMessageW(FHints, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

LRESULT TFmWeather::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_GETWEATHER:
      WMGetWeather(reinterpret_cast<const TRefreshJob*>(lParam));
      return 0;
    default:
      break;
  }
  return TFmWidgetParent::HandleMessage(Msg, wParam, lParam);
}
