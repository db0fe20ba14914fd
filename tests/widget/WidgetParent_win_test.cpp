// The widget window framework under Wine: settings, window modes, transparency, the
// messages to the bar while dragging, the glide into the slot, the flat tool strip,
// closing, and the owned dialogs.
#include <gtest/gtest.h>

#include "Application.h"
#include "Monitors.h"
#include "WeatherSet.h"
#include "WidgetTestSupport.h"

namespace {

// Counts the window's compositions, to see whether a change redraws.
class TCountingWeather final : public TFmWeather {
 public:
  using TFmWeather::TFmWeather;
  void DrawWindow() override {
    ++Draws;
    TFmWeather::DrawWindow();
  }
  int Draws = 0;
};

bool Checked(HMENU Menu, UINT Id) { return (::GetMenuState(Menu, Id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

RECT Moving(HWND Window, int Left, int Top, int Width, int Height) {
  RECT r{Left, Top, Left + Width, Top + Height};
  ::SendMessageW(Window, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
  return r;
}

using WidgetWindow = TWidgetTest;

TEST_F(WidgetWindow, WithoutSettingsStartsDockedOpaqueNormalAndCentredOnTheBarsMonitor) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  EXPECT_TRUE(weather->LockSidebar());
  EXPECT_EQ(weather->Alpha(), 100);
  EXPECT_EQ(weather->GetBlendAlpha(), 250);
  EXPECT_EQ(weather->WinDesk(), wdNormal);
  EXPECT_EQ(::GetWindowLongPtrW(weather->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  // Centred for the window's design size, the floating face.
  const TRect32 monitor = EnumerateMonitors().at(0).Monitor;
  EXPECT_EQ(weather->DefaultLeft(), monitor.Left + (monitor.Width() - 278) / 2);
  EXPECT_EQ(weather->DefaultTop(), monitor.Top + (monitor.Height() - 192) / 2);
  EXPECT_EQ(weather->Width(), 146);
  EXPECT_EQ(weather->Height(), 65);
  // Owned by the bar, registered during construction, then shown.
  EXPECT_EQ(::GetWindow(weather->Handle(), GW_OWNER), Sidebar.GetHandle());
  ASSERT_EQ(Sidebar.Messages.size(), 2u);
  EXPECT_EQ(Sidebar.Messages[0], std::make_pair(WM_WIDGET_REGISTER, reinterpret_cast<WPARAM>(weather->Widget())));
  EXPECT_EQ(Sidebar.Messages[1].first, WM_WIDGET_SHOWN);
}

TEST_F(WidgetWindow, SavedTopmostModeIsAppliedAndCheckedInTheMenu) {
  WriteSettings(L"[Widget]\r\nWindowType=1\r\nAlpha=60\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  EXPECT_EQ(weather->WinDesk(), wdTop);
  EXPECT_NE(::GetWindowLongPtrW(weather->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  weather->pmWidgetPopup();
  HMENU menu = weather->PopupMenu();
  EXPECT_TRUE(Checked(menu, TFmWidgetParent::mniStayOnTop));
  EXPECT_FALSE(Checked(menu, TFmWidgetParent::mniNormal));
  EXPECT_FALSE(Checked(menu, TFmWidgetParent::mniInsertDesk));
  EXPECT_TRUE(Checked(menu, TFmWidgetParent::mniTrans60));
  EXPECT_FALSE(Checked(menu, TFmWidgetParent::mniTrans100));

  // Back to normal. (Wine 8 keeps an owned window topmost once it was, so the style bit
  // is not checked here; the unowned case is covered by the window base's tests.)
  weather->MenuCommand(TFmWidgetParent::mniNormal);
  EXPECT_EQ(weather->WinDesk(), wdNormal);
  weather->pmWidgetPopup();
  EXPECT_TRUE(Checked(menu, TFmWidgetParent::mniNormal));
  EXPECT_FALSE(Checked(menu, TFmWidgetParent::mniStayOnTop));
}

TEST_F(WidgetWindow, MenuShowsTheRunTimeCaptionsWithTheRefreshItem) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  std::vector<std::wstring> captions;
  HMENU menu = weather->PopupMenu();
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    captions.push_back(text);
  }
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"窗口风格", L"透明", L"导出图片(截屏)", L"", L"刷新...", L"", L"设置",
                                                 L"关闭小工具"}));
  wchar_t desk[32] = {};
  ::GetMenuStringW(menu, TFmWidgetParent::mniInsertDesk, desk, 32, MF_BYCOMMAND);
  EXPECT_STREQ(desk, L"嵌入桌面");
}

TEST_F(WidgetWindow, TransparencyGivesTheConstantAlphaAndTheSameChoiceDoesNotRedraw) {
  auto* weather = new TCountingWeather(&Sidebar, LibraryFile());
  ASSERT_TRUE(weather->Create());
  FOpened.push_back(weather->Handle());
  weather->InitWin();
  weather->ShowWidget();
  const struct {
    UINT Item;
    int Alpha;
  } table[] = {{TFmWidgetParent::mniTrans10, 25},  {TFmWidgetParent::mniTrans20, 50},
               {TFmWidgetParent::mniTrans40, 100}, {TFmWidgetParent::mniTrans60, 150},
               {TFmWidgetParent::mniTrans80, 200}, {TFmWidgetParent::mniTrans100, 250}};
  for (const auto& row : table) {
    weather->MenuCommand(row.Item);
    EXPECT_EQ(weather->GetBlendAlpha(), row.Alpha);
  }
  weather->MenuCommand(TFmWidgetParent::mniTrans40);
  const int draws = weather->Draws;
  weather->MenuCommand(TFmWidgetParent::mniTrans40);
  EXPECT_EQ(weather->Draws, draws);
  BYTE alpha = 0;
  DWORD flags = 0;
  if (::GetLayeredWindowAttributes(weather->Handle(), nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) {
    EXPECT_EQ(alpha, 100);
  }
}

TEST_F(WidgetWindow, AlphaOutsideTheRangeKeepsItsLowByteAndChecksNoItem) {
  WriteSettings(L"[Widget]\r\nAlpha=300\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  EXPECT_EQ(weather->Alpha(), 300 & 0xFF);
  EXPECT_EQ(weather->GetBlendAlpha(), 110);  // Round(44 x 2.5)
  weather->pmWidgetPopup();
  for (UINT item = TFmWidgetParent::mniTrans10; item <= TFmWidgetParent::mniTrans100; ++item)
    EXPECT_FALSE(Checked(weather->PopupMenu(), item));
}

TEST_F(WidgetWindow, DraggingOverTheBarDocksOnceDragsEveryStepAndLeavingUndocksOnce) {
  WriteSettings(L"[Widget]\r\nLockSidebar=0\r\nDefaultLeft=300\r\nDefaultTop=200\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->LeftButtonDown = [] { return true; };  // still dragging: nothing settles
  Sidebar.Messages.clear();
  const HWND window = weather->Handle();

  Moving(window, 800, 200, 278, 192);  // right edge 1078 < bar left 1130
  EXPECT_TRUE(Sidebar.Messages.empty());
  Moving(window, 860, 200, 278, 192);  // right edge 1138 reaches into the bar
  Moving(window, 900, 210, 278, 192);
  Moving(window, 1200, 900, 278, 192);  // the vertical position plays no part
  EXPECT_EQ(Sidebar.Count(WM_WIDGET_DOCKED), 1);
  EXPECT_EQ(Sidebar.Count(WM_WIDGET_DRAGGING), 3);
  ASSERT_FALSE(Sidebar.Messages.empty());
  EXPECT_EQ(Sidebar.Messages.front().first, WM_WIDGET_DOCKED);
  EXPECT_TRUE(weather->LockSidebar());
  RECT r{};
  ::GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 1200);  // the window follows the proposed rectangle
  EXPECT_EQ(r.top, 900);

  Moving(window, 1280, 200, 278, 192);  // left edge at the bar's right edge: apart
  Moving(window, 1300, 200, 278, 192);
  EXPECT_EQ(Sidebar.Count(WM_WIDGET_UNDOCKED), 1);
  EXPECT_FALSE(weather->LockSidebar());
}

TEST_F(WidgetWindow, DropOverTheBarGlidesIntoTheSlotExactly) {
  WriteSettings(L"[Widget]\r\nLockSidebar=0\r\nDefaultLeft=700\r\nDefaultTop=300\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  EXPECT_FALSE(weather->Docked());
  EXPECT_EQ(weather->Width(), 278);
  weather->LeftButtonDown = [] { return false; };
  Sidebar.Slot = RECT{1143, 57, 1289, 122};
  Moving(weather->Handle(), 1000, 333, 278, 192);
  ASSERT_TRUE(PumpUntil([&] { return weather->Docked(); }, 2000));
  RECT r{};
  ::GetWindowRect(weather->Handle(), &r);
  EXPECT_EQ(r.left, 1143);
  EXPECT_EQ(r.top, 57);
  EXPECT_EQ(r.right - r.left, 146);
  EXPECT_EQ(r.bottom - r.top, 65);
}

TEST_F(WidgetWindow, DropAfterHoldingStillStillDocks) {
  WriteSettings(L"[Widget]\r\nLockSidebar=0\r\nDefaultLeft=700\r\nDefaultTop=300\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  bool held = true;
  weather->LeftButtonDown = [&held] { return held; };
  Moving(weather->Handle(), 1000, 333, 278, 192);
  PumpFor(450);  // several ticks find the button still down
  EXPECT_FALSE(weather->Docked());
  held = false;  // released without another move
  ASSERT_TRUE(PumpUntil([&] { return weather->Docked(); }, 2000));
  EXPECT_EQ(weather->Left(), Sidebar.Slot.left);
  EXPECT_EQ(weather->Top(), Sidebar.Slot.top);
}

TEST_F(WidgetWindow, NoSlotKeepsTheDroppedPositionInTheDockedFace) {
  WriteSettings(L"[Widget]\r\nLockSidebar=0\r\nDefaultLeft=700\r\nDefaultTop=300\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->LeftButtonDown = [] { return false; };
  Sidebar.GrantSlot = false;
  Moving(weather->Handle(), 1000, 333, 278, 192);
  ASSERT_TRUE(PumpUntil([&] { return weather->Docked(); }, 2000));
  EXPECT_EQ(weather->Left(), 1000);
  EXPECT_EQ(weather->Top(), 333);
  EXPECT_EQ(weather->Width(), 146);
}

TEST_F(WidgetWindow, DropAwayFromTheBarSwitchesToTheFloatingFace) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  weather->LeftButtonDown = [] { return false; };
  Moving(weather->Handle(), 400, 300, 146, 65);
  ASSERT_TRUE(PumpUntil([&] { return !weather->Docked(); }, 2000));
  EXPECT_EQ(weather->Width(), 278);
  EXPECT_EQ(weather->Height(), 192);
  EXPECT_EQ(weather->Left(), 400);  // keeps its left and top
  EXPECT_EQ(weather->Top(), 300);
  // The bar's slot questions get the docked size in both faces.
  EXPECT_EQ(weather->Widget()->GetWidth(), 146);
  EXPECT_EQ(weather->Widget()->GetHeight(), 65);
}

TEST_F(WidgetWindow, FlatToolStripShowsOnActivationByKeyboardOrHostNotByClick) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  const HWND window = weather->Handle();
  EXPECT_FALSE(weather->ShowFlat());
  ::SetActiveWindow(window);  // activated by the program, not by a click
  ASSERT_EQ(::GetActiveWindow(), window);
  EXPECT_TRUE(weather->ShowFlat());
  // Drawn on top, at the docked face's positions, and clickable there.
  EXPECT_TRUE(weather->ImgFlatClose.Visible);
  EXPECT_EQ(weather->ImgFlatClose.Left(), 131);
  ::SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  EXPECT_FALSE(weather->ShowFlat());
  EXPECT_FALSE(weather->ImgFlatClose.Visible);
  // Already the active window, so only the handler sees this click activation.
  ::SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
  EXPECT_FALSE(weather->ShowFlat());
}

TEST_F(WidgetWindow, FlatCloseButtonClosesSavesAndUnregisters) {
  WriteSettings(L"[Widget]\r\nAlpha=80\r\n[Weather]\r\nCity=北京\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  const HWND window = weather->Handle();
  IWidget* widget = weather->Widget();
  ::SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
  const int x = weather->ImgFlatClose.Left() + 5, y = weather->ImgFlatClose.Top() + 5;
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  // Saved at once, destroyed at the next turn of the message loop.
  EXPECT_EQ(Setting(L"Widget", L"Alpha"), L"80");
  EXPECT_EQ(Setting(L"Widget", L"LockSidebar"), L"1");
  EXPECT_EQ(Setting(L"Weather", L"City"), L"北京");
  EXPECT_TRUE(::IsWindow(window));
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(window); }, 2000));
  ASSERT_FALSE(Sidebar.Messages.empty());
  EXPECT_EQ(Sidebar.Messages.back(), std::make_pair(WM_WIDGET_UNREGISTER, reinterpret_cast<WPARAM>(widget)));
}

TEST_F(WidgetWindow, DestroyedWithItsOwnerItStillSavesAndUnregisters) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  const HWND window = weather->Handle();
  weather->MenuCommand(TFmWidgetParent::mniTrans20);
  weather->Widget()->SetBounds(1150, 77, 146, 65);
  // As when the bar goes: no close first, the window is simply destroyed.
  ::DestroyWindow(window);
  EXPECT_EQ(Setting(L"Widget", L"Alpha"), L"20");
  EXPECT_EQ(Setting(L"Widget", L"DefaultLeft"), L"1150");
  EXPECT_EQ(Setting(L"Widget", L"DefaultTop"), L"77");
  EXPECT_EQ(Setting(L"Weather", L"City"), L"珠海");
  EXPECT_EQ(Sidebar.Messages.back().first, WM_WIDGET_UNREGISTER);
}

TEST_F(WidgetWindow, TwoWindowsOfOneLibraryShareOneSettingsFile) {
  WriteSettings(L"[Weather]\r\nCity=北京\r\n");
  TFmWeather* first = Open();
  TFmWeather* second = Open();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first->Handle(), second->Handle());
  EXPECT_NE(first->Widget(), second->Widget());
  EXPECT_EQ(first->City(), L"北京");
  EXPECT_EQ(second->City(), L"北京");
  EXPECT_EQ(Sidebar.Count(WM_WIDGET_REGISTER), 2);
  ::DestroyWindow(first->Handle());
  second->MenuCommand(TFmWidgetParent::mniTrans40);
  ::DestroyWindow(second->Handle());
  EXPECT_EQ(Setting(L"Widget", L"Alpha"), L"40");  // the last one to close wins
}

TEST_F(WidgetWindow, SnapshotWritesTheComposedFaceAsPng) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  const std::wstring shot = FTemp / L"shot.png";
  weather->FlashWindow(shot);
  const std::string bytes = ReadBytes(shot);
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  Gdiplus::Bitmap image(shot.c_str());
  EXPECT_EQ(image.GetWidth(), 146u);
  EXPECT_EQ(image.GetHeight(), 65u);
}

TEST_F(WidgetWindow, SettingsUnreadableAsNumbersGiveTheDefaults) {
  WriteSettings(L"[Widget]\r\nWindowType=top\r\nLockSidebar=yes\r\nAlpha=\r\nDefaultLeft=x\r\nDefaultTop=-1\r\n");
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  EXPECT_EQ(weather->WinDesk(), wdNormal);
  EXPECT_TRUE(weather->LockSidebar());
  EXPECT_EQ(weather->Alpha(), 100);
  EXPECT_NE(weather->DefaultLeft(), -1);  // both unsaved: centred
}

// The owned dialog base: the caller's window, else the program's main window, else none.
TEST_F(WidgetWindow, CityDialogIsOwnedByTheWeatherWindowWithoutTaskbarButton) {
  TFmWeather* weather = Open();
  ASSERT_NE(weather, nullptr);
  struct TSeen {
    HWND Owner = nullptr;
    LONG_PTR ExStyle = 0;
    std::wstring Caption, City;
    bool OwnerDisabled = false;
  } static seen;
  seen = {};
  static HWND weatherWindow;
  weatherWindow = weather->Handle();
  ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR Timer, DWORD) {
    TFmWeatherSet* dialog = TFmWeatherSet::Running();
    if (!dialog) return;
    ::KillTimer(nullptr, Timer);
    seen.Owner = ::GetWindow(dialog->Handle(), GW_OWNER);
    seen.ExStyle = ::GetWindowLongPtrW(dialog->Handle(), GWL_EXSTYLE);
    seen.OwnerDisabled = !::IsWindowEnabled(weatherWindow);
    wchar_t text[64] = {};
    ::GetWindowTextW(dialog->Handle(), text, 64);
    seen.Caption = text;
    ::GetDlgItemTextW(dialog->Handle(), TFmWeatherSet::edtCityId, text, 64);
    seen.City = text;
    ::SetDlgItemTextW(dialog->Handle(), TFmWeatherSet::edtCityId, L"Beijing");
    ::SendMessageW(::GetDlgItem(dialog->Handle(), TFmWeatherSet::btnOkId), BM_CLICK, 0, 0);
  });
  weather->MenuCommand(TFmWidgetParent::mniSet);
  EXPECT_EQ(seen.Owner, weather->Handle());
  EXPECT_EQ(seen.ExStyle & WS_EX_APPWINDOW, 0);
  EXPECT_TRUE(seen.OwnerDisabled);
  EXPECT_TRUE(::IsWindowEnabled(weather->Handle()));
  EXPECT_EQ(seen.Caption, L"天气预报选项");
  EXPECT_EQ(seen.City, L"珠海");
  EXPECT_EQ(weather->City(), L"Beijing");
  EXPECT_TRUE(weather->Refreshing());  // a new city starts a download
}

// Runs the city dialog with a scripted user; returns its result and the city afterwards.
struct TDialogRun {
  bool Result;
  std::wstring City;
};
TDialogRun RunCityDialog(HWND Owner, const std::wstring& City, void (*User)(TFmWeatherSet&)) {
  static void (*user)(TFmWeatherSet&);
  user = User;
  ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR Timer, DWORD) {
    if (TFmWeatherSet* dialog = TFmWeatherSet::Running()) {
      ::KillTimer(nullptr, Timer);
      user(*dialog);
    }
  });
  std::wstring city = City;
  const bool result = TFmWeatherSet::ShowForm(Owner, city);
  return {result, city};
}

void Click(TFmWeatherSet& Dialog, int Id) { ::SendMessageW(::GetDlgItem(Dialog.Handle(), Id), BM_CLICK, 0, 0); }

TEST(CityDialog, ResultsOfOkCancelAndTheCloseBox) {
  const TDialogRun same = RunCityDialog(nullptr, L"珠海", [](TFmWeatherSet& d) { Click(d, TFmWeatherSet::btnOkId); });
  EXPECT_TRUE(same.Result);
  EXPECT_EQ(same.City, L"珠海");

  const TDialogRun empty = RunCityDialog(nullptr, L"珠海", [](TFmWeatherSet& d) {
    ::SetDlgItemTextW(d.Handle(), TFmWeatherSet::edtCityId, L"");
    Click(d, TFmWeatherSet::btnOkId);
  });
  EXPECT_TRUE(empty.Result);
  EXPECT_EQ(empty.City, L"");

  const TDialogRun typed = RunCityDialog(nullptr, L"珠海", [](TFmWeatherSet& d) {
    ::SetDlgItemTextW(d.Handle(), TFmWeatherSet::edtCityId, L" 上海 ");
    Click(d, TFmWeatherSet::btnOkId);
  });
  EXPECT_EQ(typed.City, L" 上海 ");  // exactly as typed

  const TDialogRun cancelled = RunCityDialog(nullptr, L"珠海", [](TFmWeatherSet& d) {
    ::SetDlgItemTextW(d.Handle(), TFmWeatherSet::edtCityId, L"上海");
    Click(d, TFmWeatherSet::btnCancelId);
  });
  EXPECT_FALSE(cancelled.Result);
  EXPECT_EQ(cancelled.City, L"珠海");

  const TDialogRun closed =
      RunCityDialog(nullptr, L"珠海", [](TFmWeatherSet& d) { ::SendMessageW(d.Handle(), WM_CLOSE, 0, 0); });
  EXPECT_FALSE(closed.Result);
}

TEST(CityDialog, EnterAndEscapeDoNotCloseItAndTheKeyboardOrderIsEditTextOkCancel) {
  static std::vector<int> order;
  static bool stillOpen;
  order.clear();
  const TDialogRun run = RunCityDialog(nullptr, L"珠海", [](TFmWeatherSet& d) {
    // What Enter and Escape turn into in a dialog's message loop.
    ::SendMessageW(d.Handle(), WM_COMMAND, IDOK, 0);
    ::SendMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0);
    stillOpen = d.ModalResult() == 0;
    HWND item = nullptr;
    for (int i = 0; i < 4; ++i) {
      item = ::GetNextDlgTabItem(d.Handle(), item, FALSE);
      order.push_back(::GetDlgCtrlID(item));
    }
    Click(d, TFmWeatherSet::btnCancelId);
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(run.Result);
  EXPECT_EQ(order, (std::vector<int>{TFmWeatherSet::edtCityId, TFmWeatherSet::mmo1Id, TFmWeatherSet::btnOkId,
                                     TFmWeatherSet::btnCancelId}));
}

TEST(CityDialog, WithoutAnOwnerItIsOwnedByTheMainFormInTheHostAndByNothingInALibrary) {
  static HWND owner;
  owner = reinterpret_cast<HWND>(1);
  RunCityDialog(nullptr, L"", [](TFmWeatherSet& d) {
    owner = ::GetWindow(d.Handle(), GW_OWNER);
    Click(d, TFmWeatherSet::btnCancelId);
  });
  EXPECT_EQ(owner, nullptr);  // no main form, as inside a widget library

  TFakeSidebar mainForm;
  Application.SetMainForm(mainForm.GetHandle());
  RunCityDialog(nullptr, L"", [](TFmWeatherSet& d) {
    owner = ::GetWindow(d.Handle(), GW_OWNER);
    Click(d, TFmWeatherSet::btnCancelId);
  });
  Application.SetMainForm(nullptr);
  EXPECT_EQ(owner, mainForm.GetHandle());
}

}  // namespace
