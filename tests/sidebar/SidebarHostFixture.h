// The in-process bar over a temporary installation, for the Windows tests of the host.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "MessagePump.h"
#include "Sidebar.h"
#include "TempDir.h"
#include "WidgetOptions.h"
#include "ZekTools.h"

namespace sidebar_test {

constexpr UINT TW_UNDOCK = WM_APP + 2;
constexpr UINT TW_DRAG = WM_APP + 3;
constexpr UINT TW_SLOT = WM_APP + 4;

// A temporary installation with the skins, test widgets and a sidebar over it.
class SidebarHostTest : public testing::Test {
 protected:
  void SetUp() override {
    CopyTree(GetModuleDir() + L"Skin", Dir / L"Skin");
    ::SetCursorPos(600, 400);  // away from every bar edge
  }

  void TearDown() override {
    Bar.reset();
    WidgetOptions = nullptr;
    Options.reset();
    PumpMessages();
  }

  // Widgets\<Name>\Widget.dll from the test library Source, with its Seting.ini.
  void AddWidget(const std::wstring& Name, const std::string& Settings, const std::wstring& Source = L"Test") {
    WriteBytes(Dir / (L"Widgets\\" + Name + L"\\Seting.ini"),
               "[TestWidget]\r\nName=" + std::string(Name.begin(), Name.end()) + "\r\n" + Settings);
    ASSERT_TRUE(::CopyFileW((GetModuleDir() + L"testwidgets\\" + Source + L"\\Widget.dll").c_str(),
                            (Dir / (L"Widgets\\" + Name + L"\\Widget.dll")).c_str(), FALSE));
  }

  void Start(const std::string& Sidebar = "") {
    if (!Sidebar.empty()) WriteBytes(Dir / L"Config\\WidgetOptions.ini", "[Sidebar]\r\n" + Sidebar);
    Options = std::make_unique<TWidgetOptions>(Dir.Path());
    Options->Load();
    WidgetOptions = Options.get();
    Bar = std::make_unique<TFmOrvoSidebar>(Dir.Path());
    ASSERT_NE(Bar->Handle(), nullptr);
    Bar->Show();
    PumpFor(300);  // the saved lists open
  }

  std::wstring Path(const std::wstring& Name) const { return Dir / (L"Widgets\\" + Name + L"\\Widget.dll"); }

  // The visible test widget window titled Name (the first one found).
  static HWND WidgetWindow(const std::wstring& Name) {
    struct TFind {
      std::wstring Name;
      HWND Found = nullptr;
    } find{Name};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND wnd, LPARAM param) -> BOOL {
          auto* f = reinterpret_cast<TFind*>(param);
          wchar_t cls[64] = {}, title[64] = {};
          ::GetClassNameW(wnd, cls, 64);
          ::GetWindowTextW(wnd, title, 64);
          if (std::wstring(cls) == L"TTestWidget" && f->Name == title && ::IsWindowVisible(wnd)) {
            f->Found = wnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.Found;
  }

  static RECT RectOf(HWND Wnd) {
    RECT r{};
    ::GetWindowRect(Wnd, &r);
    return r;
  }

  // The names of the open widgets in list order.
  std::vector<std::wstring> Order() const {
    std::vector<std::wstring> names;
    for (const TWidgetRec& rec : Bar->Widgets()) {
      const std::wstring dir = rec.FileName.substr(0, rec.FileName.find_last_of(L'\\'));
      names.push_back(dir.substr(dir.find_last_of(L'\\') + 1));
    }
    return names;
  }

  TTempDir Dir;
  std::unique_ptr<TWidgetOptions> Options;
  std::unique_ptr<TFmOrvoSidebar> Bar;
};

}  // namespace sidebar_test
