// The weather window under Wine: downloads from a loopback server through the bar's
// proxy, what a forecast shows, the clock, the city, and the library's exports.
#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "RefreshThread.h"
#include "WeatherPageBuilder.h"
#include "WidgetInfo.h"
#include "WidgetTestSupport.h"
#include "ZekTools.h"

namespace {

constexpr char kZhuhai[] = "/html/weather/101280701.shtml";

std::string Page() { return Utf8(WeatherPage(FourDays())); }

// The request paths; through a proxy each target is an absolute URI of the service.
std::vector<std::string> Paths(const std::vector<std::string>& Targets) {
  std::vector<std::string> paths;
  for (const std::string& target : Targets) {
    const std::string service = "http://www.weather.com.cn";
    EXPECT_EQ(target.rfind(service, 0), 0u) << target;
    std::string rest = target.substr(target.rfind(service, 0) == 0 ? service.size() : 0);
    if (rest.rfind(":80/", 0) == 0) rest.erase(0, 3);
    paths.push_back(rest);
  }
  return paths;
}

class WeatherWindow : public TWidgetTest {
 protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    Sidebar.UseProxy = true;
    Sidebar.ProxyPort = std::to_wstring(Server.Port());
  }

  // Starts a refresh and waits for its result.
  bool Refresh(TFmWeather& Weather, DWORD Milliseconds = 15000) {
    Weather.RefreshWeather();
    return PumpUntil([&] { return !Weather.Refreshing(); }, Milliseconds);
  }

  TLoopbackServer Server;
};

TEST_F(WeatherWindow, ForecastFromTheServerThroughTheProxyIsShown) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page(), "text/html; charset=gbk"), Page()});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  EXPECT_EQ(weather->ImgDockCity.Caption(), L"刷新...");
  ASSERT_TRUE(Refresh(*weather));
  EXPECT_TRUE(weather->IsValue());
  EXPECT_EQ(Paths(Server.Requests()), std::vector<std::string>{kZhuhai});
  EXPECT_EQ(Sidebar.ProxyQuestions, 1);

  // Decoded as UTF-8 although the server says otherwise.
  EXPECT_EQ(weather->ImgCity.Caption(), L"珠海");
  EXPECT_EQ(weather->ImgDockCity.Caption(), L"珠海");
  wchar_t title[32] = {};
  ::GetWindowTextW(weather->Handle(), title, 32);
  EXPECT_STREQ(title, L"珠海");
  EXPECT_EQ(weather->ImgTpu.Caption(), L"23℃ ~ 29℃");
  EXPECT_EQ(weather->ImgDockTpuRound.Caption(), L"23℃ ~ 29℃");
  EXPECT_EQ(weather->ImgWeather.Caption(), L"小雨");
  EXPECT_EQ(weather->ImgDay1.Caption(), L"8日星期三");
  EXPECT_EQ(weather->ImgDay3Tpu1.Caption(), L"30℃");
  EXPECT_EQ(weather->ImgDay3Tpu2.Caption(), L"24℃");
  // Day 1's day icon 01 is "cloudy" (26), by day on the blue skin.
  EXPECT_EQ(weather->SkyCode(), 26);
  EXPECT_EQ(weather->ImgBigIcon.ImageNormal(), Dir() + L"Images\\icons\\undocked_cloudy.png");
  EXPECT_EQ(weather->ImgDockBigIcon.ImageNormal(), Dir() + L"Images\\icons\\docked_cloudy.png");
  EXPECT_EQ(weather->ImgDockBG.ImageNormal(), Dir() + L"Images\\BLUEDOCKED-base.png");
  EXPECT_EQ(weather->Hint(weather->ImgDay1Pic),
            L"8日星期三\r\n温度: 22℃ - 28℃\r\n上午: 阵雨\r\n下午: 中雨\r\n风力: 南风 微风");
  EXPECT_EQ(weather->Hint(weather->ImgCity), L"珠海 7日星期二\r\n温度: 23℃ ~ 29℃\r\n风力: 东南风 3-4级");
  EXPECT_EQ(weather->Hint(weather->ImgDockCity), weather->Hint(weather->ImgCity));
}

TEST_F(WeatherWindow, OutlookIconsFollowTheDayRowUntilOneAndTheNightRowAfterwards) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page()), Page()});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->Now = [] { return At(12, 59); };
  ASSERT_TRUE(Refresh(*weather));
  // Days 2 to 4: day rows 03, 04, 00 -> 9, 1, 31.
  EXPECT_EQ(weather->ImgDay1Pic.ImageNormal(), Dir() + L"Images\\small\\9.png");
  EXPECT_EQ(weather->ImgDay2Pic.ImageNormal(), Dir() + L"Images\\small\\1.png");
  EXPECT_EQ(weather->ImgDay3Pic.ImageNormal(), Dir() + L"Images\\small\\31.png");
  weather->Now = [] { return At(13, 0); };
  ASSERT_TRUE(Refresh(*weather));
  // Night rows 08, 02, 01 -> 10, 26, 26.
  EXPECT_EQ(weather->ImgDay1Pic.ImageNormal(), Dir() + L"Images\\small\\10.png");
  EXPECT_EQ(weather->ImgDay2Pic.ImageNormal(), Dir() + L"Images\\small\\26.png");
  EXPECT_EQ(weather->ImgDay3Pic.ImageNormal(), Dir() + L"Images\\small\\26.png");
}

TEST_F(WeatherWindow, FailuresShowTheStatusAndKeepEverythingElse) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page()), Page()});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  ASSERT_TRUE(Refresh(*weather));
  const std::wstring temperature = weather->ImgTpu.Caption();
  const std::wstring icon = weather->ImgBigIcon.ImageNormal();

  const struct {
    const char* Name;
    std::function<void()> Arrange;
  } failures[] = {
      {"404", [&] { Server.Route("/html/weather/101280701.shtml", {"HTTP/1.1 404 Not Found\r\nContent-Length: 3", "no!"}); }},
      {"500", [&] { Server.Route("/html/weather/101280701.shtml", {"HTTP/1.1 500 Oops\r\nContent-Length: 0", ""}); }},
      {"too big", [&] {
         const std::string huge(5u << 20, 'x');
         Server.Route("/html/weather/101280701.shtml", {Ok(huge), huge});
       }},
      {"closed port", [&] { Sidebar.ProxyPort = std::to_wstring(TLoopbackServer::ClosedPort()); }},
  };
  for (const auto& failure : failures) {
    SCOPED_TRACE(failure.Name);
    failure.Arrange();
    ASSERT_TRUE(Refresh(*weather, 30000));
    EXPECT_FALSE(weather->IsValue());
    EXPECT_EQ(weather->ImgCity.Caption(), L"获取天气失败");
    EXPECT_EQ(weather->ImgDockCity.Caption(), L"获取天气失败");
    EXPECT_EQ(weather->ImgTpu.Caption(), temperature);
    EXPECT_EQ(weather->ImgBigIcon.ImageNormal(), icon);
  }
}

TEST_F(WeatherWindow, CityFileThatExistsButCannotBeReadIsAFailedAttemptWithoutARequest) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page()), Page()});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  const std::wstring codes = Dir() + L"CityCode.txt";
  HANDLE locked = ::CreateFileW(codes.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_THROW(GetCityCode(codes, L"珠海"), std::exception);
  const bool done = Refresh(*weather);
  ::CloseHandle(locked);
  ASSERT_TRUE(done);
  EXPECT_FALSE(weather->IsValue());
  EXPECT_EQ(weather->ImgCity.Caption(), L"获取天气失败");
  EXPECT_TRUE(Server.Requests().empty());
}

TEST_F(WeatherWindow, RefreshWhileOneRunsStartsNothingAndTheRunningResultIsShown) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page()), Page(), 800});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->RefreshWeather();
  weather->RefreshWeather();
  weather->MenuCommand(TFmWeather::mniRefreshWeather);
  EXPECT_EQ(weather->ImgCity.Caption(), L"刷新...");
  ASSERT_TRUE(PumpUntil([&] { return !weather->Refreshing(); }, 15000));
  EXPECT_EQ(Server.Requests().size(), 1u);
  EXPECT_EQ(weather->ImgCity.Caption(), L"珠海");
}

TEST_F(WeatherWindow, ClosingWhileTheDownloadRunsDropsTheLateResult) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page()), Page(), 1500});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->RefreshWeather();
  const HWND window = weather->Handle();
  weather->Widget()->Close();
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(window); }, 2000));
  // A new window may even get the old handle's place; the worker hands over to nobody.
  TFmWeather* next = Open();
  ASSERT_NE(next, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Server.Requests().size() == 1; }, 5000));
  PumpFor(2500);
  EXPECT_EQ(next->ImgCity.Caption(), L"刷新...");
  EXPECT_FALSE(next->IsValue());
}

TEST_F(WeatherWindow, SameCityInAnotherCaseStartsNoDownloadAnotherCityOneForItsCode) {
  WriteSettings(L"[Weather]\r\nCity=Beijing\r\n");
  WriteBytes(Dir() + L"CityCode.txt", "beijing=101010100\r\nSHANGHAI=101020100\r\n");  // ANSI: no mark
  Server.Route("/html/weather/101020100.shtml", {Ok(Page()), Page()});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->SetCity(L"BEIJING");
  weather->SetCity(L"beijing");
  EXPECT_FALSE(weather->Refreshing());
  EXPECT_EQ(weather->City(), L"Beijing");
  weather->SetCity(L"Shanghai");
  EXPECT_TRUE(weather->Refreshing());
  ASSERT_TRUE(PumpUntil([&] { return !weather->Refreshing(); }, 15000));
  EXPECT_EQ(Paths(Server.Requests()), std::vector<std::string>{"/html/weather/101020100.shtml"});
  EXPECT_EQ(weather->ImgCity.Caption(), L"Shanghai");
}

TEST_F(WeatherWindow, UnknownCityAsksForTheEmptyCode) {
  WriteSettings(L"[Weather]\r\nCity=Atlantis\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  ASSERT_TRUE(Refresh(*weather));
  EXPECT_EQ(Paths(Server.Requests()), std::vector<std::string>{"/html/weather/.shtml"});
  EXPECT_EQ(weather->ImgCity.Caption(), L"获取天气失败");
}

TEST_F(WeatherWindow, ProxyPortThatIsNotANumberMeansPort80) {
  Sidebar.ProxyPort = L"eighty";
  std::wstring host;
  std::uint16_t port = 0;
  EXPECT_TRUE(TRefreshThread::AskProxy(&Sidebar, host, port));
  EXPECT_EQ(host, L"127.0.0.1");
  EXPECT_EQ(port, 80);
  Sidebar.ProxyPort = L"8080";
  TRefreshThread::AskProxy(&Sidebar, host, port);
  EXPECT_EQ(port, 8080);
}

TEST_F(WeatherWindow, CityCodeFileEncodingsAndPaths) {
  const std::wstring file = Dir() + L"Codes.txt";
  EXPECT_EQ(GetCityCode(file, L"珠海"), L"");  // missing file
  WriteBytes(file, Utf16File(L" 珠海=1\r\n珠海=101280701\r\n珠海=2\r\n"));
  EXPECT_EQ(GetCityCode(file, L"珠海"), L"101280701");
  // No byte-order mark: the ANSI code page, GBK for a Chinese system.
  WriteBytes(file, "\xD6\xE9\xBA\xA3=101280701\r\n");
  EXPECT_EQ(GetCityCode(file, L"珠海"), L"101280701");
  EXPECT_EQ(ForecastPath(L"101280701"), L"/html/weather/101280701.shtml");
  EXPECT_EQ(ForecastPath(L"a b/?#"), L"/html/weather/a%20b%2F%3F%23.shtml");
}

TEST_F(WeatherWindow, NightSwitchChangesOnlyTheBackgroundsAtSevenAndBackAtSix) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  const HWND window = weather->Handle();
  auto tick = [&] { ::SendMessageW(window, WM_TIMER, TFmWeather::tmrNight, 0); };
  const std::wstring bigIcon = weather->ImgBigIcon.ImageNormal();
  weather->Now = [] { return At(18, 59); };
  tick();
  EXPECT_FALSE(weather->IsNightShown());
  EXPECT_EQ(weather->ImgBg.ImageNormal(), Dir() + L"Images\\BLUE-base.png");
  weather->Now = [] { return At(19, 0); };
  tick();
  EXPECT_TRUE(weather->IsNightShown());
  EXPECT_EQ(weather->ImgBg.ImageNormal(), Dir() + L"Images\\Black-base.png");
  EXPECT_EQ(weather->ImgDockBG.ImageNormal(), Dir() + L"Images\\BlackDOCKED-base.png");
  EXPECT_EQ(weather->ImgBigIcon.ImageNormal(), bigIcon);
  weather->Now = [] { return At(5, 59); };
  tick();
  EXPECT_TRUE(weather->IsNightShown());
  weather->Now = [] { return At(6, 0); };
  tick();
  EXPECT_FALSE(weather->IsNightShown());
  EXPECT_EQ(weather->ImgBg.ImageNormal(), Dir() + L"Images\\Blue-base.png");  // no forecast yet: sky code 0
}

TEST_F(WeatherWindow, FirstDownloadStartsByItselfAboutTenSecondsAfterCreation) {
  Server.Route("/html/weather/101280701.shtml", {Ok(Page()), Page()});
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  PumpFor(8000);
  EXPECT_TRUE(Server.Requests().empty());
  ASSERT_TRUE(PumpUntil([&] { return weather->IsValue(); }, 8000));
  EXPECT_EQ(Server.Requests().size(), 1u);
}

// The library's exports, from the built Widget.dll.
class WidgetLibrary : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = GetModuleDir() + L"Widgets\\Weather\\Widget.dll";
    FLibrary = ::LoadLibraryW(path.c_str());
    ASSERT_NE(FLibrary, nullptr) << "Widget.dll not found beside the tests";
    FPath = path;
  }
  void TearDown() override {
    ::DeleteFileW((GetModuleDir() + L"Widgets\\Weather\\Seting.ini").c_str());
    // Kept loaded: a library that opened a widget is never unloaded.
  }
  template <class F>
  F Export(const char* Name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, Name)));
  }
  std::wstring Text(const char* Name, const wchar_t* Before = L"previous") {
    BSTR value = ::SysAllocString(Before);
    Export<TGetWidgetText>(Name)(&value);
    std::wstring text = value ? std::wstring(value, ::SysStringLen(value)) : L"<null>";
    ::SysFreeString(value);
    return text;
  }
  HMODULE FLibrary = nullptr;
  std::wstring FPath;
};

TEST_F(WidgetLibrary, InformationExportsDescribeTheWeatherWidget) {
  EXPECT_EQ(Text("GetName"), L"天气预报");
  EXPECT_EQ(Text("GetVision"), L"1.0.0.0");
  EXPECT_EQ(Text("GetAuthor"), L"Norrel");
  EXPECT_EQ(Text("GetIcon"), GetModuleDir() + L"Widgets\\Weather\\Icon.png");
  EXPECT_EQ(Text("GetUpdateHistory"), L"");
  EXPECT_EQ(Text("GetLogo"), L"");
  EXPECT_FALSE(Text("GetURL").empty());
  EXPECT_EQ(Text("GetURL").find(L"://"), std::wstring::npos);  // a bare host name
  EXPECT_NE(Text("GetDescription").find(L"中央气象台"), std::wstring::npos);
  EXPECT_EQ(Export<TGetWidgetType>("GetWidgetType")(), 3);
  EXPECT_EQ(GetFileVersionValue(FPath, L"FileVersion"), L"1.0.0.0");
  EXPECT_EQ(GetFileVersionValue(FPath, L"ProductVersion"), L"1.0.0.0");
}

TEST_F(WidgetLibrary, CreateWidgetOpensOneMoreWindowPerCallAndNothingWithoutASidebar) {
  auto create = Export<TCreateWidget>("CreateWidget");
  IWidget* none = reinterpret_cast<IWidget*>(1);
  create(&none, nullptr);
  EXPECT_EQ(none, nullptr);

  TFakeSidebar sidebar;
  IWidget* first = nullptr;
  IWidget* second = nullptr;
  create(&first, &sidebar);
  create(&second, &sidebar);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first->GetHandle(), second->GetHandle());
  EXPECT_TRUE(first->GetVisible());
  EXPECT_TRUE(first->GetLockSidebar());
  BSTR file = nullptr;
  first->GetFileName(&file);
  EXPECT_EQ(std::wstring(file), FPath);
  ::SysFreeString(file);
  BSTR name = nullptr;
  first->GetName(&name);
  EXPECT_EQ(std::wstring(name), L"天气预报");
  ::SysFreeString(name);
  EXPECT_EQ(first->GetWidgetType(), 3);
  EXPECT_EQ(sidebar.Count(WM_WIDGET_REGISTER), 2);
  EXPECT_EQ(sidebar.Count(WM_WIDGET_SHOWN), 2);
  const HWND a = first->GetHandle(), b = second->GetHandle();
  first->Close();
  second->Close();
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(a) && !::IsWindow(b); }, 3000));
  EXPECT_EQ(sidebar.Count(WM_WIDGET_UNREGISTER), 2);
}

}  // namespace
