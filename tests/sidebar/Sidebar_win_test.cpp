#include "Sidebar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "Monitors.h"
#include "MessagePump.h"
#include "SidebarHostFixture.h"
#include "TempDir.h"
#include "WidgetOptions.h"

namespace {

using namespace sidebar_test;

TMonitorRects FirstMonitor() { return EnumerateMonitors().at(0); }

TEST_F(SidebarHostTest, PlacedAtRightEdgeAndFollowsMonitorHeight) {
  Start("SidebarMonitor=5\r\n");  // beyond the monitors: the last one
  const TMonitorRects monitor = EnumerateMonitors().back();
  EXPECT_EQ(Bar->GetMonitor(), static_cast<INT32>(EnumerateMonitors().size()) - 1);
  const RECT r = RectOf(Bar->Handle());
  EXPECT_EQ(r.left, monitor.Monitor.Right - 150);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_TRUE(PumpUntil([&] { return Bar->GetHeight() == monitor.Monitor.Height(); }, 2000));
  const LONG_PTR exStyle = ::GetWindowLongPtrW(Bar->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_EQ(::GetWindow(Bar->Handle(), GW_OWNER), Application.Handle());
}

TEST_F(SidebarHostTest, ComposedBarShowsSkinAndToolStrip) {
  Start();
  const auto surface = Bar->ComposeWindow();
  EXPECT_GT(surface->Pixel(75, 300) >> 24, 100u);  // the translucent glass background
  EXPECT_NE(surface->Pixel(32 + 20, 8 + 11), surface->Pixel(20, 19));  // the tool strip over it
  EXPECT_EQ(Bar->BaseSkin(), Dir / L"Skin\\sidebar\\background\\White.png");
}

TEST_F(SidebarHostTest, MissingSkinFallsBackToWhite) {
  Start("SidebarSkin=NoSuch.png\r\n");
  EXPECT_EQ(Bar->BaseSkin(), Dir / L"Skin\\sidebar\\background\\White.png");
}

TEST_F(SidebarHostTest, AutoHideAtLeftEdgeOfFirstMonitor) {
  Start("SidebarAlign=0\r\nSidebarAutoHide=1\r\n");
  // Shown with the mouse away: hidden at once, 2 pixels left on screen.
  EXPECT_TRUE(PumpUntil([&] { return Bar->GetLeft() == FirstMonitor().Monitor.Left + 2 - 150; }, 1000));
  EXPECT_TRUE(Bar->AutoHideFlag());

  ::SetCursorPos(FirstMonitor().Monitor.Left + 1, 300);  // touch the strip
  EXPECT_TRUE(PumpUntil([&] { return Bar->GetLeft() == FirstMonitor().Monitor.Left; }, 1000));
  EXPECT_FALSE(Bar->AutoHideFlag());

  ::SetCursorPos(600, 400);
  EXPECT_TRUE(PumpUntil([&] { return Bar->AutoHideFlag(); }, 1000));
  Bar->SetAutoHide(false);  // switched off while hidden: back at once
  EXPECT_EQ(Bar->GetLeft(), FirstMonitor().Monitor.Left);
  PumpFor(200);
  EXPECT_EQ(Bar->GetLeft(), FirstMonitor().Monitor.Left);
}

TEST_F(SidebarHostTest, SaveAndCloseWritesBothListsAndOptions) {
  AddWidget(L"A", "Height=100\r\n");
  AddWidget(L"B", "Height=80\r\nDocked=0\r\nLeft=400\r\nTop=300\r\n");
  AddWidget(L"C", "Height=120\r\n");
  Start();
  for (const wchar_t* name : {L"A", L"B", L"C"}) Bar->ShowWidget(Path(name), false);
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"A", L"B", L"C"}));

  ::SendMessageW(Bar->Handle(), WM_SIDEBAR_SAVEANDCLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return Bar->Handle() == nullptr; }, 2000));
  EXPECT_EQ(ReadBytes(Dir / L"LockWidgets.txt"), "A\\Widget.dll\r\nC\\Widget.dll\r\n");
  EXPECT_EQ(ReadBytes(Dir / L"UnLockWidgets.txt"), "B\\Widget.dll\r\n");
  EXPECT_NE(ReadBytes(Dir / L"Config\\WidgetOptions.ini").find("SidebarAlign=1"), std::string::npos);
  EXPECT_EQ(WidgetWindow(L"A"), nullptr);  // closing the bar closed its widgets
}

TEST_F(SidebarHostTest, SaveAndCloseLeavesEverySettingOfTheOpenWidgetsWritten) {
  AddWidget(L"A", "Height=100\r\n");
  AddWidget(L"B", "Height=80\r\nDocked=0\r\nLeft=400\r\nTop=300\r\n");
  Start();
  for (const wchar_t* name : {L"A", L"B"}) Bar->ShowWidget(Path(name), false);
  ::SendMessageW(WidgetWindow(L"A"), TW_UNDOCK, 500, 200);
  ::SendMessageW(WidgetWindow(L"B"), TW_UNDOCK, 420, 310);

  ::SendMessageW(Bar->Handle(), WM_SIDEBAR_SAVEANDCLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return Bar->Handle() == nullptr; }, 2000));
  struct TExpected {
    const wchar_t* Name;
    int Docked, Left, Top;
  };
  for (const TExpected& e : {TExpected{L"A", 0, 500, 200}, TExpected{L"B", 0, 420, 310}}) {
    const std::wstring ini = Dir / (std::wstring(L"Widgets\\") + e.Name + L"\\Seting.ini");
    EXPECT_EQ(static_cast<int>(::GetPrivateProfileIntW(L"TestWidget", L"Docked", 9, ini.c_str())), e.Docked) << e.Name;
    EXPECT_EQ(static_cast<int>(::GetPrivateProfileIntW(L"TestWidget", L"Left", -1, ini.c_str())), e.Left) << e.Name;
    EXPECT_EQ(static_cast<int>(::GetPrivateProfileIntW(L"TestWidget", L"Top", -1, ini.c_str())), e.Top) << e.Name;
  }
}

TEST_F(SidebarHostTest, SavedListsReopenFloatingFirstAndDockedInSlots) {
  AddWidget(L"A", "Height=100\r\n");
  AddWidget(L"B", "Height=80\r\nDocked=0\r\nLeft=400\r\nTop=300\r\n");
  AddWidget(L"C", "Height=120\r\n");
  WriteBytes(Dir / L"UnLockWidgets.txt", "B\\Widget.dll\r\n");
  WriteBytes(Dir / L"LockWidgets.txt", "A\\Widget.dll\r\nC\\Widget.dll\r\n");
  Start();
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"B", L"A", L"C"}));
  const RECT a = RectOf(WidgetWindow(L"A")), b = RectOf(WidgetWindow(L"B")), c = RectOf(WidgetWindow(L"C"));
  EXPECT_EQ(a.left, Bar->GetLeft() + 10);
  EXPECT_EQ(a.top, 40);
  EXPECT_EQ(c.top, 40 + 100 + 10);
  EXPECT_EQ(b.left, 400);  // floating widgets are never moved by the bar
  EXPECT_EQ(b.top, 300);
}

TEST_F(SidebarHostTest, BadListLinesAndLibrariesAreSkipped) {
  AddWidget(L"A", "Height=100\r\n");
  AddWidget(L"C", "Height=100\r\n");
  AddWidget(L"NoCreate", "", L"NoCreate");
  WriteBytes(Dir / L"Widgets\\Bad\\Widget.dll", "not a library");
  WriteBytes(Dir / L"LockWidgets.txt",
             "A\\Widget.dll\r\n\r\nGone\\Widget.dll\r\nNoCreate\\Widget.dll\r\nBad\\Widget.dll\r\nC\\Widget.dll\r\n");
  Start();
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"A", L"C"}));
}

TEST_F(SidebarHostTest, FailedCreateWidgetEndsThatList) {
  AddWidget(L"A", "Height=100\r\n");
  AddWidget(L"Fail", "FailCreate=1\r\n");
  AddWidget(L"C", "Height=100\r\n");
  AddWidget(L"F", "Docked=0\r\n");
  WriteBytes(Dir / L"LockWidgets.txt", "A\\Widget.dll\r\nFail\\Widget.dll\r\nC\\Widget.dll\r\n");
  WriteBytes(Dir / L"UnLockWidgets.txt", "F\\Widget.dll\r\n");
  Start();
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"F", L"A"}));
  Bar->ShowWidget(Path(L"C"), false);  // the bar goes on working
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"F", L"A", L"C"}));
}

TEST_F(SidebarHostTest, SameLibraryTwiceOpensTwoWidgets) {
  AddWidget(L"A", "Height=100\r\n");
  WriteBytes(Dir / L"LockWidgets.txt", "A\\Widget.dll\r\nA\\Widget.dll\r\n");
  Start();
  ASSERT_EQ(Bar->Widgets().size(), 2u);
  EXPECT_EQ(Bar->Widgets()[0].FileName, Bar->Widgets()[1].FileName);
  EXPECT_NE(Bar->Widgets()[0].Widget, Bar->Widgets()[1].Widget);
  Bar->SaveSidebarSet();
  EXPECT_EQ(ReadBytes(Dir / L"LockWidgets.txt"), "A\\Widget.dll\r\nA\\Widget.dll\r\n");
}

TEST_F(SidebarHostTest, WindowModeChangeReopensOnlyDockedWidgets) {
  AddWidget(L"A", "Height=100\r\n");
  AddWidget(L"B", "Height=80\r\nDocked=0\r\n");
  AddWidget(L"C", "Height=100\r\n");
  WriteBytes(Dir / L"UnLockWidgets.txt", "B\\Widget.dll\r\n");
  WriteBytes(Dir / L"LockWidgets.txt", "C\\Widget.dll\r\nA\\Widget.dll\r\n");
  Start();
  const HWND a = WidgetWindow(L"A"), b = WidgetWindow(L"B"), c = WidgetWindow(L"C");
  ASSERT_TRUE(a && b && c);
  ::DeleteFileW((Dir / L"LockWidgets.txt").c_str());

  Bar->SetWinDesk(wdTop);
  EXPECT_EQ(Bar->WinDesk(), wdTop);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(a) && !::IsWindow(c) && WidgetWindow(L"A") && WidgetWindow(L"C"); }));
  EXPECT_EQ(WidgetWindow(L"B"), b);
  EXPECT_EQ(ReadBytes(Dir / L"LockWidgets.txt"), "C\\Widget.dll\r\nA\\Widget.dll\r\n");
  EXPECT_EQ(ReadBytes(Dir / L"UnLockWidgets.txt"), "B\\Widget.dll\r\n");
  EXPECT_FALSE(FileExists(Dir / L"Config\\WidgetOptions.ini"));
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"B", L"C", L"A"}));
}

TEST_F(SidebarHostTest, PagesWithDownAndUpButtons) {
  for (const wchar_t* name : {L"A", L"B", L"C"}) AddWidget(name, "Height=500\r\n");
  WriteBytes(Dir / L"LockWidgets.txt", "A\\Widget.dll\r\nB\\Widget.dll\r\nC\\Widget.dll\r\n");
  Start();
  const auto press = [&](int x, int y) {
    ::SendMessageW(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::SendMessageW(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  for (int i = 0; i < 5; ++i) press(84 + 8, 11 + 8);  // ImgDown
  EXPECT_EQ(Bar->PageIndex(), 2);
  EXPECT_EQ(RectOf(WidgetWindow(L"C")).top, 40);
  EXPECT_EQ(RectOf(WidgetWindow(L"A")).top, Bar->GetHeight() + 500);  // parked below the bar
  for (int i = 0; i < 4; ++i) press(62 + 8, 11 + 8);  // ImgUp
  EXPECT_EQ(Bar->PageIndex(), 0);
  EXPECT_EQ(RectOf(WidgetWindow(L"A")).top, 40);
}

TEST_F(SidebarHostTest, SlotsUndockAndDragReorder) {
  for (const wchar_t* name : {L"A", L"B", L"C"}) AddWidget(name, "Height=100\r\n");
  WriteBytes(Dir / L"LockWidgets.txt", "A\\Widget.dll\r\nB\\Widget.dll\r\nC\\Widget.dll\r\n");
  Start();
  const HWND a = WidgetWindow(L"A"), c = WidgetWindow(L"C");
  EXPECT_EQ(::SendMessageW(c, TW_SLOT, 0, 0), 260);

  // C dragged above the middle of B: they swap, C stays where the mouse put it.
  ::SendMessageW(c, TW_DRAG, 0, 190);
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"A", L"C", L"B"}));
  EXPECT_EQ(RectOf(c).top, 190);
  EXPECT_EQ(RectOf(WidgetWindow(L"B")).top, 260);
  EXPECT_EQ(::SendMessageW(c, TW_SLOT, 0, 0), 150);

  // A leaves the bar: its record moves to the end, and its slot would be the first.
  ::SendMessageW(a, TW_UNDOCK, 500, 500);
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"C", L"B", L"A"}));
  EXPECT_EQ(::SendMessageW(a, TW_SLOT, 0, 0), 40);
  EXPECT_EQ(RectOf(a).top, 500);

  // Messages for a widget the bar does not know change nothing.
  ::SendMessageW(Bar->Handle(), WM_WIDGET_UNDOCKED, 12345, 0);
  ::SendMessageW(Bar->Handle(), WM_WIDGET_DRAGGING, 12345, 0);
  ::SendMessageW(Bar->Handle(), WM_WIDGET_DOCKED, 12345, 0);
  ::SendMessageW(Bar->Handle(), WM_WIDGET_UNREGISTER, 12345, 0);
  EXPECT_EQ(Order(), (std::vector<std::wstring>{L"C", L"B", L"A"}));
  RECT untouched{-1, -2, -3, -4};
  EXPECT_EQ(Bar->GetWidgetRect(reinterpret_cast<IWidget*>(12345), &untouched), 0);
  EXPECT_EQ(untouched.top, -2);
}

TEST_F(SidebarHostTest, ProxyFromOptions) {
  WriteBytes(Dir / L"Config\\GlobalOptions.ini", "[GlobalOptions]\r\nProxyType=2\r\nProxySvr=127.0.0.1\r\nProxyPort=8080\r\n");
  Start();
  BSTR host = ::SysAllocString(L"old"), port = nullptr;
  EXPECT_EQ(Bar->GetProxy(&host, &port), 1);
  EXPECT_STREQ(host, L"127.0.0.1");
  EXPECT_STREQ(port, L"8080");
  Options->FProxyType = ptNone;
  EXPECT_EQ(Bar->GetProxy(&host, &port), 0);
  EXPECT_STREQ(host, L"127.0.0.1");
  ::SysFreeString(host);
  ::SysFreeString(port);
}

TEST_F(SidebarHostTest, FailedSaveKeepsTheBarOpen) {
  WriteBytes(Dir / L"Config", "a file where the directory should be");
  Start();
  ::SendMessageW(Bar->Handle(), WM_SIDEBAR_SAVEANDCLOSE, 0, 0);
  PumpFor(200);
  EXPECT_NE(Bar->Handle(), nullptr);
  EXPECT_FALSE(FileExists(Dir / L"LockWidgets.txt"));
}

}  // namespace

namespace {

// Picks a menu item while the context menu runs its modal loop: Down Count times, then Enter.
struct TMenuPick {
  static inline int Downs = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Timer, DWORD) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (!menu || !::IsWindowVisible(menu)) return;
    ::KillTimer(nullptr, Timer);
    for (int i = 0; i < Downs; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  }
};

TEST_F(SidebarHostTest, MenuAndAddButtonReachTheirHooks) {
  Start();
  std::vector<std::wstring> opened;
  Bar->OnAddWidget = [&](HWND Parent) {
    EXPECT_EQ(Parent, Bar->Handle());
    opened.push_back(L"gallery");
  };
  Bar->OnWidgetSet = [&](HWND Parent) {
    EXPECT_EQ(Parent, Bar->Handle());
    opened.push_back(L"settings");
  };
  for (int downs : {1, 2}) {  // the separator is skipped
    TMenuPick::Downs = downs;
    ::SetTimer(nullptr, 0, 50, &TMenuPick::Tick);
    ::SendMessageW(Bar->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Bar->Handle()),
                   MAKELPARAM(Bar->GetLeft() + 75, 300));
  }
  ::SendMessageW(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(48, 19));  // ImgAdd
  ::SendMessageW(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 19));
  ::SendMessageW(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(48, 19));
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"gallery", L"settings", L"gallery"}));

  Bar->OnAddWidget = nullptr;  // without a gallery the action does nothing, and fails nothing
  ::SendMessageW(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 19));
  ::SendMessageW(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(48, 19));
  EXPECT_NE(Bar->Handle(), nullptr);
}

}  // namespace
