#include "WidgetSet.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "Monitors.h"
#include "SidebarHostFixture.h"

namespace {

using namespace sidebar_test;
using D = TFmWidgetSet;

class SettingsDialogTest : public SidebarHostTest {
 protected:
  void TearDown() override {
    FmOrvoSidebar = nullptr;
    SidebarHostTest::TearDown();
  }

  // Runs the dialog over the bar with a scripted user; its result.
  bool Run(std::function<void(TFmWidgetSet&)> User) {
    FmOrvoSidebar = Bar.get();
    static std::function<void(TFmWidgetSet&)> user;
    user = std::move(User);
    ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR Timer, DWORD) {
      if (TFmWidgetSet* dialog = TFmWidgetSet::Running()) {
        ::KillTimer(nullptr, Timer);
        user(*dialog);
      }
    });
    return TFmWidgetSet::ShowForm(Bar->Handle());
  }

  std::wstring SkinDir() const { return Dir / L"Skin\\sidebar\\background\\"; }

  static void Click(TFmWidgetSet& Dialog, int Id) {
    ::SendMessageW(Dialog.Item(Id), BM_CLICK, 0, 0);
  }
  static void Select(TFmWidgetSet& Dialog, int Id, int Item) {
    ::SendMessageW(Dialog.Item(Id), CB_SETCURSEL, static_cast<WPARAM>(Item), 0);
  }
  static int Selected(TFmWidgetSet& Dialog, int Id) {
    return static_cast<int>(::SendMessageW(Dialog.Item(Id), CB_GETCURSEL, 0, 0));
  }
  static std::vector<std::wstring> Items(TFmWidgetSet& Dialog, int Id) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(Dialog.Item(Id), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[64] = {};
      ::SendMessageW(Dialog.Item(Id), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  static std::wstring Text(HWND Wnd) {
    wchar_t text[64] = {};
    ::GetWindowTextW(Wnd, text, 64);
    return text;
  }
  static void Check(TFmWidgetSet& Dialog, int Id) {
    // What a click on a radio button or check box does.
    Click(Dialog, Id);
  }
};

TEST_F(SettingsDialogTest, OwnedByTheBarWithItsControlsInKeyboardOrder) {
  Start("SidebarWinDesk=1\r\nSidebarAlign=0\r\nSidebarAutoHide=1\r\nWidgetInterval=17\r\n");
  struct TSeen {
    HWND Owner = nullptr;
    LONG_PTR ExStyle = 0, Style = 0;
    std::wstring Caption, Page, Gap;
    RECT Client{}, AutoHide{}, Apply{}, MonitorList{};
    POINT Sheet{};
    std::vector<int> Order;
    std::vector<std::wstring> Edges;
    bool Top = false, AutoHideChecked = false, OwnerDisabled = false;
    int Edge = -2;
  } seen;
  const bool result = Run([&](TFmWidgetSet& d) {
    seen.Owner = ::GetWindow(d.Handle(), GW_OWNER);
    seen.ExStyle = ::GetWindowLongPtrW(d.Handle(), GWL_EXSTYLE);
    seen.Style = ::GetWindowLongPtrW(d.Handle(), GWL_STYLE);
    seen.OwnerDisabled = !::IsWindowEnabled(Bar->Handle());
    seen.Caption = Text(d.Handle());
    ::GetClientRect(d.Handle(), &seen.Client);
    HWND pages = d.Item(D::pgcSetId);
    TCITEMW item{};
    wchar_t page[32] = {};
    item.mask = TCIF_TEXT;
    item.pszText = page;
    item.cchTextMax = 32;
    ::SendMessageW(pages, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    seen.Page = page;
    RECT sheet{0, 0, 369, 290};
    ::SendMessageW(pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&sheet));
    seen.Sheet = {sheet.left, sheet.top};
    auto rect = [&](int Id) {
      RECT r{};
      ::GetWindowRect(d.Item(Id), &r);
      ::MapWindowPoints(nullptr, d.Handle(), reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    seen.AutoHide = rect(D::chkAutoHideId);
    seen.Apply = rect(D::btnApplyId);
    seen.MonitorList = rect(D::cbbMoniterId);
    HWND item2 = nullptr;
    for (int i = 0; i < 9; ++i) {
      item2 = ::GetNextDlgTabItem(d.Handle(), item2, FALSE);
      seen.Order.push_back(::GetDlgCtrlID(item2));
    }
    seen.Edges = Items(d, D::cbbAlignId);
    seen.Edge = Selected(d, D::cbbAlignId);
    seen.Top = d.Checked(D::rbTopId);
    seen.AutoHideChecked = d.Checked(D::chkAutoHideId);
    seen.Gap = Text(d.Item(D::seWidgetInvId));
    ::SendMessageW(d.Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_FALSE(result);  // the close box cancels
  EXPECT_EQ(seen.Owner, Bar->Handle());
  EXPECT_TRUE(seen.OwnerDisabled);
  EXPECT_TRUE(::IsWindowEnabled(Bar->Handle()));
  EXPECT_FALSE(seen.ExStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(seen.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(seen.Caption, L"侧边栏设置");
  EXPECT_EQ(seen.Page, L"基本设置");
  EXPECT_EQ(seen.Client.right, 369);
  EXPECT_EQ(seen.Client.bottom, 320);
  EXPECT_EQ(seen.AutoHide.left, seen.Sheet.x + 10);
  EXPECT_EQ(seen.AutoHide.top, seen.Sheet.y + 13);
  EXPECT_EQ(seen.AutoHide.right - seen.AutoHide.left, 148);
  EXPECT_EQ(seen.Apply.left, 9);
  EXPECT_EQ(seen.Apply.top, 290 + 4);
  EXPECT_EQ(seen.MonitorList.left, seen.Sheet.x + 10 + 49);
  EXPECT_EQ(seen.MonitorList.right - seen.MonitorList.left, 91);
  // The check box, the mode group (its checked button), the lists, the spin box, then
  // OK, Cancel, Apply.
  EXPECT_EQ(seen.Order, (std::vector<int>{D::chkAutoHideId, D::rbTopId, D::cbbMoniterId, D::cbbAlignId,
                                          D::cbbSidebarId, D::seWidgetInvId, D::btnOkId, D::btnCancelId,
                                          D::btnApplyId}));
  EXPECT_EQ(seen.Edges, (std::vector<std::wstring>{L"左", L"右"}));
  EXPECT_EQ(seen.Edge, 0);
  EXPECT_TRUE(seen.Top);
  EXPECT_TRUE(seen.AutoHideChecked);
  EXPECT_EQ(seen.Gap, L"17");
}

TEST_F(SettingsDialogTest, ListsMonitorsAndSkinsAndFindsTheCurrentSkinWhateverItsCase) {
  ASSERT_TRUE(::CopyFileW((SkinDir() + L"Blue.png").c_str(), (SkinDir() + L"Blue.Dark.png").c_str(), FALSE));
  Start("SidebarSkin=jade.PNG\r\n");
  ASSERT_NE(Bar->BaseSkin(), SkinDir() + L"Jade.png");  // the stored letter case
  std::vector<std::wstring> monitors, skins;
  int monitor = -2;
  std::wstring skin;
  Run([&](TFmWidgetSet& d) {
    monitors = Items(d, D::cbbMoniterId);
    monitor = Selected(d, D::cbbMoniterId);
    skins = Items(d, D::cbbSidebarId);
    skin = Text(d.Item(D::cbbSidebarId));
    Click(d, D::btnCancelId);
  });
  std::vector<std::wstring> expected;
  for (std::size_t i = 0; i < EnumerateMonitors().size(); ++i) expected.push_back(std::to_wstring(i));
  EXPECT_EQ(monitors, expected);
  EXPECT_EQ(monitor, Bar->Monitor());
  std::sort(skins.begin(), skins.end());
  EXPECT_EQ(skins, (std::vector<std::wstring>{L"Blue", L"Blue", L"Graphite", L"Jade", L"White"}));
  EXPECT_EQ(skin, L"Jade");
}

TEST_F(SettingsDialogTest, ApplyThenCancelKeepsWhatWasAppliedAndReturnsFalse) {
  Start();
  const bool result = Run([&](TFmWidgetSet& d) {
    Check(d, D::rbTopId);
    Select(d, D::cbbAlignId, 0);
    ::SetWindowTextW(d.Item(D::seWidgetInvId), L"25");
    Click(d, D::btnApplyId);
    Check(d, D::rbDeskId);  // changed after Apply, then cancelled
    Click(d, D::btnCancelId);
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(Bar->WinDesk(), wdTop);
  EXPECT_EQ(Bar->SidebarAlign(), saLeft);
  EXPECT_EQ(Bar->WidgetInv(), 25);
  EXPECT_FALSE(FileExists(Dir / L"Config\\WidgetOptions.ini"));  // applied, not saved
}

TEST_F(SettingsDialogTest, OkAppliesTheChoicesOnceMore) {
  Start();
  const std::wstring before = Bar->BaseSkin();
  const bool result = Run([&](TFmWidgetSet& d) {
    Check(d, D::chkAutoHideId);
    const std::vector<std::wstring> skins = Items(d, D::cbbSidebarId);
    const auto blue = std::find(skins.begin(), skins.end(), L"Blue");
    Select(d, D::cbbSidebarId, static_cast<int>(blue - skins.begin()));
    ::SetWindowTextW(d.Item(D::seWidgetInvId), L"abc");  // not a number: 1
    Click(d, D::btnOkId);
  });
  EXPECT_TRUE(result);
  EXPECT_TRUE(Bar->AutoHide());
  EXPECT_EQ(Bar->BaseSkin(), SkinDir() + L"Blue.png");
  EXPECT_NE(before, Bar->BaseSkin());
  EXPECT_EQ(Bar->WidgetInv(), 1);
}

TEST_F(SettingsDialogTest, TheGapIsKeptWithinOneToAHundredWhenTheBoxLosesTheFocus) {
  Start();
  std::wstring shown;
  Run([&](TFmWidgetSet& d) {
    HWND gap = d.Item(D::seWidgetInvId);
    ::SetFocus(gap);
    ::SetWindowTextW(gap, L"500");
    ::SetFocus(d.Item(D::btnApplyId));
    shown = Text(gap);
    Click(d, D::btnOkId);
  });
  EXPECT_EQ(shown, L"100");
  EXPECT_EQ(Bar->WidgetInv(), 100);
}

TEST_F(SettingsDialogTest, NoMonitorSelectedAppliesMonitorZero) {
  // The bar clamps every index it is given, so its own monitor is always listed; a monitor
  // taken away while it runs leaves the list without selection, as cleared here.
  const auto count = static_cast<int>(EnumerateMonitors().size());
  Start("SidebarMonitor=" + std::to_string(count - 1) + "\r\n");
  int selected = -2;
  const bool result = Run([&](TFmWidgetSet& d) {
    Select(d, D::cbbMoniterId, -1);
    selected = Selected(d, D::cbbMoniterId);
    Click(d, D::btnOkId);
  });
  EXPECT_TRUE(result);
  EXPECT_EQ(selected, -1);
  EXPECT_EQ(Bar->Monitor(), 0);
  EXPECT_EQ(Bar->GetLeft(), EnumerateMonitors().at(0).Monitor.Right - 150);
}

TEST_F(SettingsDialogTest, WithoutAnySkinFileTheCurrentSkinStays) {
  for (const wchar_t* name : {L"Blue.png", L"Graphite.png", L"Jade.png", L"White.png"})
    ::DeleteFileW((SkinDir() + name).c_str());
  Start();
  const std::wstring before = Bar->BaseSkin();
  int skins = -1;
  Run([&](TFmWidgetSet& d) {
    skins = static_cast<int>(::SendMessageW(d.Item(D::cbbSidebarId), CB_GETCOUNT, 0, 0));
    Click(d, D::btnOkId);
  });
  EXPECT_EQ(skins, 0);
  EXPECT_EQ(Bar->BaseSkin(), before);
  EXPECT_NE(Bar->BaseSkin(), SkinDir() + L".png");
}

}  // namespace
