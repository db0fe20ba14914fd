// Set-up shared by the widget's Windows tests: a temporary widget directory holding the
// library path, its settings and city codes, and the weather windows opened in it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <string>
#include <vector>

#include "FakeSidebar.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "Weather.h"

inline std::string Utf8(const std::wstring& Text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

// UTF-16 with a byte-order mark, as the profile functions read it under any code page.
inline std::string Utf16File(const std::wstring& Text) {
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(Text.data()), Text.size() * sizeof(wchar_t));
  return bytes;
}

inline std::tm At(int Hour, int Minute = 0) {
  std::tm time{};
  time.tm_year = 126;
  time.tm_mon = 5;
  time.tm_mday = 7;
  time.tm_hour = Hour;
  time.tm_min = Minute;
  return time;
}

class TWidgetTest : public testing::Test {
 protected:
  // The widget directory: <temp>\Widgets\Weather\, the library file in it.
  std::wstring Dir() const { return FTemp / L"Widgets\\Weather\\"; }
  std::wstring LibraryFile() const { return Dir() + L"Widget.dll"; }
  std::wstring SettingsFile() const { return Dir() + L"Seting.ini"; }

  void SetUp() override { WriteBytes(Dir() + L"CityCode.txt", "\xEF\xBB\xBF" + Utf8(L"珠海=101280701\r\n北京=101010100\r\n")); }

  void TearDown() override {
    for (HWND window : FOpened)
      if (::IsWindow(window)) ::DestroyWindow(window);
    PumpMessages();
  }

  void WriteSettings(const std::wstring& Text) { WriteBytes(SettingsFile(), Utf16File(Text)); }

  std::wstring Setting(const wchar_t* Section, const wchar_t* Key) const {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(Section, Key, L"<none>", value, 256, SettingsFile().c_str());
    return value;
  }

  // A weather window as the library's CreateWidget opens it: created, initialised, shown.
  TFmWeather* Open() {
    IWidget* widget = TFmWeather::ShowForm(&Sidebar, LibraryFile());
    if (!widget) return nullptr;
    auto* window = static_cast<TFmWeather*>(static_cast<TFmWidgetParent*>(widget));
    window->Now = [] { return At(10); };
    FOpened.push_back(window->Handle());
    return window;
  }

  TTempDir FTemp;
  TFakeSidebar Sidebar;
  std::vector<HWND> FOpened;
};
