// The open widgets of the bar: their list, pages, slots and reordering. Portable: the
// widgets are reached through ILayoutWidgets, which the window implements over IWidget.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One open widget. Widget is the identity the widget announced itself with.
struct TWidgetRec {
  std::uintptr_t Widget = 0;
  std::wstring FileName;
  std::int32_t PageIndex = -1;  // -1: not on any page (floating, or not laid out yet)
};

using TWidgetList = std::vector<TWidgetRec>;

// What the layout asks of, and does to, the widgets: live, since moving one widget may
// make others change.
class ILayoutWidgets {
 public:
  virtual std::int32_t GetTop(std::uintptr_t Widget) = 0;
  virtual std::int32_t GetWidth(std::uintptr_t Widget) = 0;
  virtual std::int32_t GetHeight(std::uintptr_t Widget) = 0;
  virtual bool GetLockSidebar(std::uintptr_t Widget) = 0;
  virtual void SetBounds(std::uintptr_t Widget, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                         std::int32_t Height) = 0;

 protected:
  ~ILayoutWidgets() = default;
};

struct TBarMetrics {
  std::int32_t Left = 0;          // the bar's screen x
  std::int32_t Height = 0;        // the bar's height
  std::int32_t FirstSlotTop = 40; // tool strip top + its height + gap
  std::int32_t Gap = 10;
};

inline constexpr std::uintptr_t kNoWidget = static_cast<std::uintptr_t>(-1);
inline constexpr std::int32_t kParkBelowBar = 500;
inline constexpr std::int32_t kSlotIndent = 10;

// Index of the first record of Widget, or -1.
std::int32_t FindWidget(const TWidgetList& List, std::uintptr_t Widget);

// Pass 1: assigns pages to the docked widgets; returns the last page number.
std::int32_t AssignPages(TWidgetList& List, const TBarMetrics& Bar, ILayoutWidgets& Widgets);

// Both passes: assigns pages, clamps PageIndex, moves the docked widgets of the page on
// show into their slots and parks the others below the bar. KeepFree's slot stays free and
// it is not moved. Widgets that leave the list while being moved are skipped.
void AlignWidgets(TWidgetList& List, std::int32_t& PageIndex, const TBarMetrics& Bar, ILayoutWidgets& Widgets,
                  std::uintptr_t KeepFree);

struct TSlot {
  std::int32_t Left, Top, Right, Bottom;
};

// The slot the layout gives Widget on its page; false (Slot untouched) when unknown.
bool GetWidgetSlot(const TWidgetList& List, std::uintptr_t Widget, const TBarMetrics& Bar, ILayoutWidgets& Widgets,
                   TSlot& Slot);

// The widget left the bar: page -1, and its record moves to the end.
void UndockWidget(TWidgetList& List, std::uintptr_t Widget);

// The widget joined the bar on the page on show; its record stays where it is.
void DockWidget(TWidgetList& List, std::uintptr_t Widget, std::int32_t PageIndex);

// A docked widget is dragged over the bar: swaps it with its neighbour on the same page
// once its top edge rises above the middle of the one before, or its bottom edge sinks
// below the middle of the one after. Relayout lays the bar out with Widget's slot kept free.
void DragWidget(TWidgetList& List, std::uintptr_t Widget, ILayoutWidgets& Widgets,
                const std::function<void()>& Relayout);

// A list file line for a library path: what follows the first "Widgets\" (any case).
std::wstring WidgetListLine(const std::wstring& FileName);
// The library path for a list file line.
std::wstring WidgetPathFromLine(const std::wstring& ProgramDir, const std::wstring& Line);
