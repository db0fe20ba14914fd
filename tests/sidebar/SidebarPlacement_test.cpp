#include "SidebarPlacement.h"

#include <gtest/gtest.h>

namespace {

const TMonitorRects kLeftMonitor{{0, 0, 1280, 800}, {0, 0, 1280, 760}};
const TMonitorRects kRightMonitor{{1280, 0, 2304, 768}, {1280, 0, 2304, 768}};

TEST(SidebarPlacement, ClampsMonitorIndex) {
  EXPECT_EQ(ClampMonitorIndex(5, 2), 1);
  EXPECT_EQ(ClampMonitorIndex(-1, 2), 0);
  EXPECT_EQ(ClampMonitorIndex(-7, 1), 0);
  EXPECT_EQ(ClampMonitorIndex(1, 2), 1);
  EXPECT_EQ(ClampMonitorIndex(0, 0), 0);  // no monitor reported: still a valid index
}

TEST(SidebarPlacement, DockedLeftAtEitherEdge) {
  EXPECT_EQ(DockedLeft(kLeftMonitor, saLeft, 150), 0);
  EXPECT_EQ(DockedLeft(kLeftMonitor, saRight, 150), 1130);
  EXPECT_EQ(DockedLeft(kRightMonitor, saLeft, 150), 1280);
  EXPECT_EQ(DockedLeft(kRightMonitor, saRight, 150), 2154);
}

struct TAutoHideCase {
  const char* Name;
  TAutoHideInput In;
  TAutoHideStep Expected;
};

TAutoHideInput Input(bool mouseIn, bool autoHide, bool hidden, std::int32_t left, std::int32_t index,
                     std::int32_t count, TSidebarAlign align, const TMonitorRects& monitor) {
  TAutoHideInput in;
  in.MouseIn = mouseIn;
  in.AutoHide = autoHide;
  in.Hidden = hidden;
  in.CurrentLeft = left;
  in.MonitorIndex = index;
  in.MonitorCount = count;
  in.Align = align;
  in.Monitor = monitor;
  return in;
}

class AutoHideTest : public testing::TestWithParam<TAutoHideCase> {};

TEST_P(AutoHideTest, Step) {
  const TAutoHideStep step = DoAutoHideStep(GetParam().In);
  EXPECT_EQ(step.Move, GetParam().Expected.Move);
  if (step.Move) {
    EXPECT_EQ(step.NewLeft, GetParam().Expected.NewLeft);
  }
  EXPECT_EQ(step.HiddenAfter, GetParam().Expected.HiddenAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoHideTest,
    testing::Values(
        TAutoHideCase{"left_edge_of_monitor_0_hides", Input(false, true, false, 0, 0, 2, saLeft, kLeftMonitor),
                      {true, 2 - 150, true}},
        TAutoHideCase{"right_edge_of_last_monitor_hides",
                      Input(false, true, false, 2154, 1, 2, saRight, kRightMonitor), {true, 2302, true}},
        TAutoHideCase{"right_edge_of_monitor_0_of_two_never_hides",
                      Input(false, true, false, 1130, 0, 2, saRight, kLeftMonitor), {false, 0, false}},
        TAutoHideCase{"left_edge_of_monitor_1_never_hides",
                      Input(false, true, false, 1280, 1, 2, saLeft, kRightMonitor), {false, 0, false}},
        TAutoHideCase{"single_monitor_right_edge_hides", Input(false, true, false, 1130, 0, 1, saRight, kLeftMonitor),
                      {true, 1278, true}},
        TAutoHideCase{"already_hidden_stays", Input(false, true, true, -148, 0, 2, saLeft, kLeftMonitor),
                      {false, 0, true}},
        TAutoHideCase{"mouse_in_strip_brings_back", Input(true, true, true, -148, 0, 2, saLeft, kLeftMonitor),
                      {true, 0, false}},
        TAutoHideCase{"mouse_in_without_auto_hide_moves_back_too",
                      Input(true, false, false, 40, 0, 1, saLeft, kLeftMonitor), {true, 0, false}},
        TAutoHideCase{"mouse_in_docked_nothing_to_move", Input(true, true, false, 0, 0, 1, saLeft, kLeftMonitor),
                      {false, 0, false}},
        TAutoHideCase{"auto_hide_switched_off_while_hidden",
                      Input(false, false, true, -148, 0, 1, saLeft, kLeftMonitor), {true, 0, false}},
        TAutoHideCase{"off_and_shown_nothing", Input(false, false, false, 0, 0, 1, saLeft, kLeftMonitor),
                      {false, 0, false}}),
    [](const testing::TestParamInfo<TAutoHideCase>& info) { return info.param.Name; });

TEST(SidebarPlacement, MouseOverBarIncludesEdges) {
  EXPECT_TRUE(MouseOverBar(0, 0, 150, 800));
  EXPECT_TRUE(MouseOverBar(150, 800, 150, 800));
  EXPECT_FALSE(MouseOverBar(-1, 10, 150, 800));
  EXPECT_FALSE(MouseOverBar(151, 10, 150, 800));
  EXPECT_FALSE(MouseOverBar(10, 801, 150, 800));
}

}  // namespace
