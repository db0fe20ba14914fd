#include "SidebarLayout.h"

#include <algorithm>

#include "ZekText.h"

std::int32_t FindWidget(const TWidgetList& List, std::uintptr_t Widget) {
  for (std::size_t i = 0; i < List.size(); ++i)
    if (List[i].Widget == Widget) return static_cast<std::int32_t>(i);
  return -1;
}

std::int32_t AssignPages(TWidgetList& List, const TBarMetrics& Bar, ILayoutWidgets& Widgets) {
  // Heights only, not the gaps; a floating widget that does not fit still opens a page.
  std::int32_t y = Bar.FirstSlotTop;
  std::int32_t lastPage = 0;
  for (TWidgetRec& rec : List) {
    const std::int32_t h = Widgets.GetHeight(rec.Widget);
    if (y + h > Bar.Height) {
      y = Bar.FirstSlotTop;
      ++lastPage;
    }
    if (Widgets.GetLockSidebar(rec.Widget)) {
      rec.PageIndex = lastPage;
      y += h;
    }
  }
  return lastPage;
}

void AlignWidgets(TWidgetList& List, std::int32_t& PageIndex, const TBarMetrics& Bar, ILayoutWidgets& Widgets,
                  std::uintptr_t KeepFree) {
  const std::int32_t lastPage = AssignPages(List, Bar, Widgets);
  PageIndex = std::clamp(PageIndex, 0, lastPage);

  // Moving a widget can make widgets register or leave: walk a copy, check each is still open.
  const TWidgetList snapshot = List;
  const std::int32_t x = Bar.Left + kSlotIndent;
  std::int32_t y = Bar.FirstSlotTop;
  for (const TWidgetRec& rec : snapshot) {
    if (FindWidget(List, rec.Widget) < 0 || !Widgets.GetLockSidebar(rec.Widget)) continue;
    const std::int32_t h = Widgets.GetHeight(rec.Widget);
    if (rec.Widget == KeepFree) {
      y += h + Bar.Gap;
    } else if (rec.PageIndex == PageIndex) {
      Widgets.SetBounds(rec.Widget, x, y, Widgets.GetWidth(rec.Widget), h);
      y += h + Bar.Gap;
    } else {
      Widgets.SetBounds(rec.Widget, x, Bar.Height + kParkBelowBar, Widgets.GetWidth(rec.Widget), h);
    }
  }
}

bool GetWidgetSlot(const TWidgetList& List, std::uintptr_t Widget, const TBarMetrics& Bar, ILayoutWidgets& Widgets,
                   TSlot& Slot) {
  const std::int32_t found = FindWidget(List, Widget);
  if (found < 0) return false;
  const std::int32_t page = List[static_cast<std::size_t>(found)].PageIndex;
  std::int32_t y = Bar.FirstSlotTop;
  for (std::int32_t i = 0; i < found; ++i) {
    const TWidgetRec& rec = List[static_cast<std::size_t>(i)];
    if (rec.PageIndex == page && Widgets.GetLockSidebar(rec.Widget)) y += Widgets.GetHeight(rec.Widget) + Bar.Gap;
  }
  const std::int32_t x = Bar.Left + kSlotIndent;
  Slot = {x, y, x + Widgets.GetWidth(Widget), y + Widgets.GetHeight(Widget)};
  return true;
}

void UndockWidget(TWidgetList& List, std::uintptr_t Widget) {
  const std::int32_t i = FindWidget(List, Widget);
  if (i < 0) return;
  const auto at = List.begin() + i;
  at->PageIndex = -1;
  std::rotate(at, at + 1, List.end());
}

void DockWidget(TWidgetList& List, std::uintptr_t Widget, std::int32_t PageIndex) {
  const std::int32_t i = FindWidget(List, Widget);
  if (i >= 0) List[static_cast<std::size_t>(i)].PageIndex = PageIndex;
}

void DragWidget(TWidgetList& List, std::uintptr_t Widget, ILayoutWidgets& Widgets,
                const std::function<void()>& Relayout) {
  const std::int32_t found = FindWidget(List, Widget);
  if (found < 0) return;
  const auto i = static_cast<std::size_t>(found);

  if (i > 0 && List[i - 1].PageIndex == List[i].PageIndex) {
    const std::uintptr_t previous = List[i - 1].Widget;
    if (Widgets.GetTop(previous) + Widgets.GetHeight(previous) / 2 > Widgets.GetTop(Widget)) {
      std::swap(List[i - 1], List[i]);
      Relayout();
    }
  }
  // The second step keeps the position found first, whatever the first one did.
  if (i + 1 < List.size() && List[i].PageIndex == List[i + 1].PageIndex) {
    const std::uintptr_t next = List[i + 1].Widget;
    if (Widgets.GetTop(Widget) + Widgets.GetHeight(Widget) > Widgets.GetTop(next) + Widgets.GetHeight(next) / 2)
      std::swap(List[i], List[i + 1]);
    Relayout();
  }
}

std::wstring WidgetListLine(const std::wstring& FileName) { return TextAfter(FileName, L"Widgets\\"); }

std::wstring WidgetPathFromLine(const std::wstring& ProgramDir, const std::wstring& Line) {
  return ProgramDir + L"Widgets\\" + Line;
}
