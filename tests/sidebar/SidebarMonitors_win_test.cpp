// The bar on a desktop of two monitors side by side of different sizes (tools/test provides
// one): which monitor and edge it takes, its heights there, and which edges auto-hide.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "Monitors.h"
#include "Sidebar.h"
#include "SidebarPlacement.h"
#include "TempDir.h"
#include "WidgetOptions.h"

namespace {

class SidebarMonitorsTest : public testing::Test {
 protected:
  void SetUp() override {
    Monitors = EnumerateMonitors();
    // Skipping would hide that the display lost a monitor; these cases need both.
    if (Monitors.size() < 2)
      GTEST_FAIL() << "needs two monitors side by side, found " << Monitors.size()
                   << " (tools/test runs the Windows tests on such a display)";
    const TRect32 &first = Monitors[0].Monitor, &second = Monitors[1].Monitor;
    if (second.Left != first.Right || first.Height() == second.Height())
      GTEST_FAIL() << "needs monitor 1 right of monitor 0 with another height, found " << first.Width() << "x"
                   << first.Height() << "+" << first.Left << " and " << second.Width() << "x" << second.Height()
                   << "+" << second.Left;
    // Mid monitor 0: clear of every edge a bar stands at.
    ::SetCursorPos(first.Left + first.Width() / 2, first.Height() / 2);
  }

  void TearDown() override { Stop(); }

  // A bar from these [Sidebar] options; FirstRect is where it stood before it was shown.
  void Start(const std::string& Sidebar) {
    Stop();
    WriteBytes(Dir / L"Config\\WidgetOptions.ini", "[Sidebar]\r\n" + Sidebar);
    Options = std::make_unique<TWidgetOptions>(Dir.Path());
    Options->Load();
    WidgetOptions = Options.get();
    Bar = std::make_unique<TFmOrvoSidebar>(Dir.Path());
    ASSERT_NE(Bar->Handle(), nullptr);
    ::GetWindowRect(Bar->Handle(), &FirstRect);
    Bar->Show();
  }

  void Stop() {
    Bar.reset();
    WidgetOptions = nullptr;
    Options.reset();
    PumpMessages();
  }

  TMonitorRects Last() const { return Monitors.back(); }

  std::vector<TMonitorRects> Monitors;
  TTempDir Dir;
  std::unique_ptr<TWidgetOptions> Options;
  std::unique_ptr<TFmOrvoSidebar> Bar;
  RECT FirstRect{};
};

std::string Setting(int Monitor, TSidebarAlign Align, bool AutoHide = false) {
  return "SidebarMonitor=" + std::to_string(Monitor) + "\r\nSidebarAlign=" + std::to_string(Align) +
         "\r\nSidebarAutoHide=" + (AutoHide ? "1" : "0") + "\r\n";
}

TEST_F(SidebarMonitorsTest, StandsAtTheChosenEdgeWithWorkAreaThenMonitorHeight) {
  struct TCase {
    int Stored;          // SidebarMonitor as saved
    int Monitor;         // the monitor it stands on; -1: the last one
    TSidebarAlign Align;
  };
  for (const TCase c : {TCase{1, 1, saRight}, TCase{1, 1, saLeft}, TCase{0, 0, saRight}, TCase{0, 0, saLeft},
                        TCase{5, -1, saRight}, TCase{-3, 0, saLeft}}) {
    SCOPED_TRACE("SidebarMonitor=" + std::to_string(c.Stored) + " SidebarAlign=" + std::to_string(c.Align));
    Start(Setting(c.Stored, c.Align));
    const int index = c.Monitor < 0 ? static_cast<int>(Monitors.size()) - 1 : c.Monitor;
    const TMonitorRects& on = Monitors[static_cast<size_t>(index)];
    EXPECT_EQ(Bar->GetMonitor(), index);
    const int left = c.Align == saRight ? on.Monitor.Right - kSidebarWidth : on.Monitor.Left;
    EXPECT_EQ(FirstRect.left, left);
    EXPECT_EQ(FirstRect.top, 0);
    EXPECT_EQ(FirstRect.right - FirstRect.left, kSidebarWidth);
    EXPECT_EQ(FirstRect.bottom - FirstRect.top, on.WorkArea.Height());  // placed over the work area first
    // Then, after a few ticks of the height follow, the whole height of its own monitor, the
    // shorter one included.
    PumpFor(500);
    EXPECT_EQ(Bar->GetHeight(), on.Monitor.Height());
    EXPECT_EQ(Bar->GetLeft(), left);
    EXPECT_EQ(Bar->GetTop(), 0);
  }
}

TEST_F(SidebarMonitorsTest, OnlyTheOuterEdgesOfTheDesktopAutoHide) {
  struct TCase {
    int Monitor;  // -1: the last one
    TSidebarAlign Align;
    bool Hides;
  };
  for (const TCase c : {TCase{0, saLeft, true}, TCase{0, saRight, false}, TCase{1, saLeft, false},
                        TCase{-1, saRight, true}}) {
    const int index = c.Monitor < 0 ? static_cast<int>(Monitors.size()) - 1 : c.Monitor;
    SCOPED_TRACE("monitor " + std::to_string(index) + (c.Align == saRight ? " right" : " left"));
    Start(Setting(index, c.Align, true));
    const TRect32& on = Monitors[static_cast<size_t>(index)].Monitor;
    const int docked = c.Align == saRight ? on.Right - kSidebarWidth : on.Left;
    if (!c.Hides) {
      // An inner edge: hidden, the bar would stand on the neighbouring monitor.
      PumpFor(400);
      EXPECT_EQ(Bar->GetLeft(), docked);
      EXPECT_FALSE(Bar->AutoHideFlag());
      continue;
    }
    // 2 pixels stay on the desktop; touching them brings the bar back.
    const int hidden = c.Align == saRight ? on.Right - 2 : on.Left + 2 - kSidebarWidth;
    EXPECT_TRUE(PumpUntil([&] { return Bar->GetLeft() == hidden; }, 1000)) << "left " << Bar->GetLeft();
    EXPECT_TRUE(Bar->AutoHideFlag());
    ::SetCursorPos(c.Align == saRight ? on.Right - 1 : on.Left, on.Height() / 2);
    EXPECT_TRUE(PumpUntil([&] { return Bar->GetLeft() == docked; }, 1000)) << "left " << Bar->GetLeft();
    EXPECT_FALSE(Bar->AutoHideFlag());
    ::SetCursorPos(Monitors[0].Monitor.Width() / 2, Monitors[0].Monitor.Height() / 2);
  }
}

}  // namespace
