#include "SidebarLayout.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct TFakeWidget {
  std::int32_t Left = 500, Top = 300, Width = 130, Height = 100;
  bool Docked = true;
};

// Widgets by id; SetBounds moves them and counts the moves.
class TFakeWidgets final : public ILayoutWidgets {
 public:
  std::map<std::uintptr_t, TFakeWidget> All;
  std::vector<std::uintptr_t> Moved;

  std::int32_t GetTop(std::uintptr_t w) override { return All.at(w).Top; }
  std::int32_t GetWidth(std::uintptr_t w) override { return All.at(w).Width; }
  std::int32_t GetHeight(std::uintptr_t w) override { return All.at(w).Height; }
  bool GetLockSidebar(std::uintptr_t w) override { return All.at(w).Docked; }
  void SetBounds(std::uintptr_t w, std::int32_t l, std::int32_t t, std::int32_t wd, std::int32_t h) override {
    All.at(w) = {l, t, wd, h, All.at(w).Docked};
    Moved.push_back(w);
  }
};

class SidebarLayoutTest : public testing::Test {
 protected:
  // Appends widgets 1..n with the given heights (docked unless listed in floating).
  void Open(std::vector<std::int32_t> heights, std::vector<std::uintptr_t> floating = {}) {
    for (std::int32_t h : heights) {
      const std::uintptr_t id = List.size() + 1;
      Widgets.All[id] = {500, 300, 130, h, true};
      List.push_back({id, L"C:\\Kelvara\\Widgets\\W" + std::to_wstring(id) + L"\\Widget.dll", -1});
    }
    for (std::uintptr_t id : floating) Widgets.All[id].Docked = false;
  }
  void Align(std::uintptr_t keepFree = kNoWidget) { AlignWidgets(List, Page, Bar, Widgets, keepFree); }
  std::vector<std::uintptr_t> Order() const {
    std::vector<std::uintptr_t> ids;
    for (const TWidgetRec& rec : List) ids.push_back(rec.Widget);
    return ids;
  }

  TWidgetList List;
  TFakeWidgets Widgets;
  std::int32_t Page = 0;
  TBarMetrics Bar{1130, 600, 40, 10};
};

TEST_F(SidebarLayoutTest, TwoHalfHeightWidgetsTakeTwoPages) {
  Open({300, 300});
  Align();
  EXPECT_EQ(List[0].PageIndex, 0);
  EXPECT_EQ(List[1].PageIndex, 1);  // 340 + 300 = 640 > 600
  EXPECT_EQ(Widgets.All[1].Top, 40);
  EXPECT_EQ(Widgets.All[1].Left, 1140);
  EXPECT_EQ(Widgets.All[2].Top, 600 + 500);  // parked below the bar
}

TEST_F(SidebarLayoutTest, GapsAreNotCountedForPages) {
  Open({270, 290});
  Align();
  EXPECT_EQ(List[0].PageIndex, 0);
  EXPECT_EQ(List[1].PageIndex, 0);  // 40 + 270 + 290 = 600 is not greater than 600
  EXPECT_EQ(Widgets.All[1].Top, 40);
  EXPECT_EQ(Widgets.All[2].Top, 320);  // reaching 610, below the bar
}

TEST_F(SidebarLayoutTest, FloatingWidgetOpensAPageButIsNeverMoved) {
  Open({300, 400, 100}, {2});
  Align();
  EXPECT_EQ(List[0].PageIndex, 0);
  EXPECT_EQ(List[1].PageIndex, -1);
  EXPECT_EQ(List[2].PageIndex, 1);  // 340 + 400 > 600 starts page 1 although widget 2 floats
  EXPECT_EQ(Widgets.All[2].Top, 300);
  EXPECT_EQ(std::count(Widgets.Moved.begin(), Widgets.Moved.end(), 2u), 0);
}

TEST_F(SidebarLayoutTest, PageIsClamped) {
  Open({500, 500, 500});  // three pages
  for (int i = 0; i < 5; ++i) {
    ++Page;
    Align();
  }
  EXPECT_EQ(Page, 2);
  EXPECT_EQ(Widgets.All[3].Top, 40);
  EXPECT_EQ(Widgets.All[1].Top, 1100);
  Page = 0;
  --Page;
  Align();
  EXPECT_EQ(Page, 0);

  TWidgetList none;
  std::int32_t page = 4;
  AlignWidgets(none, page, Bar, Widgets, kNoWidget);
  EXPECT_EQ(page, 0);
}

TEST_F(SidebarLayoutTest, KeptFreeSlotIsSkippedAndNotMoved) {
  Open({100, 100, 100});
  Align();
  Widgets.Moved.clear();
  Widgets.All[2].Top = 77;  // being dragged
  Align(2);
  EXPECT_EQ(Widgets.All[1].Top, 40);
  EXPECT_EQ(Widgets.All[2].Top, 77);
  EXPECT_EQ(Widgets.All[3].Top, 260);
}

TEST_F(SidebarLayoutTest, SlotOfWidgets) {
  Open({100, 120}, {});
  Align();
  TSlot slot{-5, -5, -5, -5};
  ASSERT_TRUE(GetWidgetSlot(List, 2, Bar, Widgets, slot));
  EXPECT_EQ(slot.Left, 1140);
  EXPECT_EQ(slot.Top, 150);
  EXPECT_EQ(slot.Right, 1140 + 130);
  EXPECT_EQ(slot.Bottom, 270);

  TSlot untouched{-5, -5, -5, -5};
  EXPECT_FALSE(GetWidgetSlot(List, 99, Bar, Widgets, untouched));
  EXPECT_EQ(untouched.Top, -5);
  EXPECT_EQ(untouched.Left, -5);

  // A widget that left the bar gets the first slot.
  Widgets.All[2].Docked = false;
  UndockWidget(List, 2);
  ASSERT_TRUE(GetWidgetSlot(List, 2, Bar, Widgets, slot));
  EXPECT_EQ(slot.Top, 40);
}

TEST_F(SidebarLayoutTest, UndockMovesRecordToEnd) {
  Open({100, 100, 100});
  Align();
  UndockWidget(List, 1);
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{2, 3, 1}));
  EXPECT_EQ(List[2].PageIndex, -1);
  UndockWidget(List, 1);  // already last: order unchanged
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{2, 3, 1}));
  UndockWidget(List, 42);  // unknown: nothing
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{2, 3, 1}));
}

TEST_F(SidebarLayoutTest, DockKeepsRecordWhereItIs) {
  Open({100, 100});
  Page = 0;
  UndockWidget(List, 1);
  DockWidget(List, 1, 0);
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{2, 1}));
  EXPECT_EQ(List[1].PageIndex, 0);
}

TEST_F(SidebarLayoutTest, DragUpAboveMiddleSwaps) {
  Open({100, 100, 100});  // tops 40, 150, 260
  Align();
  int layouts = 0;
  auto relayout = [&] {
    ++layouts;
    Align(3);
  };
  Widgets.All[3].Top = 205;  // middle of widget 2 is 200: not above yet
  DragWidget(List, 3, Widgets, relayout);
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{1, 2, 3}));
  EXPECT_EQ(layouts, 0);  // the last record has no follower: no layout either

  Widgets.All[3].Top = 199;
  DragWidget(List, 3, Widgets, relayout);
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{1, 3, 2}));
  EXPECT_EQ(Widgets.All[3].Top, 199);  // the dragged one stays put
  EXPECT_EQ(Widgets.All[2].Top, 260);  // its free slot follows the new order
  EXPECT_GE(layouts, 1);
}

TEST_F(SidebarLayoutTest, DragDownBelowMiddleSwaps) {
  Open({100, 100, 100});
  Align();
  int layouts = 0;
  auto relayout = [&] {
    ++layouts;
    Align(1);
  };
  Widgets.All[1].Top = 100;  // bottom 200 = middle of widget 2: not below
  DragWidget(List, 1, Widgets, relayout);
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{1, 2, 3}));
  EXPECT_EQ(layouts, 1);  // same page below: laid out in either case

  Widgets.All[1].Top = 101;
  DragWidget(List, 1, Widgets, relayout);
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{2, 1, 3}));
  EXPECT_EQ(Widgets.All[2].Top, 40);
}

TEST_F(SidebarLayoutTest, DragNeverSwapsAcrossPages) {
  Open({500, 500});
  Align();  // pages 0 and 1
  Widgets.All[2].Top = 0;
  int layouts = 0;
  DragWidget(List, 2, Widgets, [&] { ++layouts; });
  EXPECT_EQ(Order(), (std::vector<std::uintptr_t>{1, 2}));
  EXPECT_EQ(layouts, 0);
  DragWidget(List, 7, Widgets, [&] { ++layouts; });  // unknown widget
  EXPECT_EQ(layouts, 0);
}

// Moving a widget may make another leave the list (it closes while moved).
class TClosingWidgets final : public ILayoutWidgets {
 public:
  TWidgetList* List = nullptr;
  std::vector<std::uintptr_t> Moved;
  std::int32_t GetTop(std::uintptr_t) override { return 0; }
  std::int32_t GetWidth(std::uintptr_t) override { return 130; }
  std::int32_t GetHeight(std::uintptr_t) override { return 100; }
  bool GetLockSidebar(std::uintptr_t) override { return true; }
  void SetBounds(std::uintptr_t w, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
    Moved.push_back(w);
    if (w == 1) List->erase(List->begin() + FindWidget(*List, 2));
  }
};

TEST(SidebarLayout, WidgetThatLeavesDuringLayoutIsNotTouched) {
  TWidgetList list{{1, L"a", -1}, {2, L"b", -1}, {3, L"c", -1}};
  TClosingWidgets widgets;
  widgets.List = &list;
  std::int32_t page = 0;
  AlignWidgets(list, page, TBarMetrics{0, 600, 40, 10}, widgets, kNoWidget);
  EXPECT_EQ(widgets.Moved, (std::vector<std::uintptr_t>{1, 3}));
}

TEST(WidgetListLines, RelativeToWidgetsDirectory) {
  EXPECT_EQ(WidgetListLine(L"C:\\Kelvara\\Widgets\\Weather\\Widget.dll"), L"Weather\\Widget.dll");
  EXPECT_EQ(WidgetListLine(L"C:\\Kelvara\\WIDGETS\\Weather\\Widget.dll"), L"Weather\\Widget.dll");
  EXPECT_EQ(WidgetListLine(L"D:\\Elsewhere\\Widget.dll"), L"D:\\Elsewhere\\Widget.dll");
  EXPECT_EQ(WidgetListLine(L"C:\\Widgets\\A\\Widgets\\B\\Widget.dll"), L"A\\Widgets\\B\\Widget.dll");
  EXPECT_EQ(WidgetPathFromLine(L"C:\\Kelvara\\", L"Weather\\Widget.dll"), L"C:\\Kelvara\\Widgets\\Weather\\Widget.dll");
}

}  // namespace
