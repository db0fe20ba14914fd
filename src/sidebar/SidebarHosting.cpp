// The bar's work with widgets: opening libraries, the widget messages, layout and paging,
// slots, and the saved widget lists.
#include <windows.h>

#include "Application.h"
#include "Hourglass.h"
#include "Sidebar.h"
#include "WidgetListFile.h"
#include "WidgetOptions.h"

namespace {

IWidget* AsWidget(std::uintptr_t Widget) { return reinterpret_cast<IWidget*>(Widget); }

// The layout's view of the widgets, over their IWidget tables.
class TWidgetCalls final : public ILayoutWidgets {
 public:
  std::int32_t GetTop(std::uintptr_t Widget) override { return AsWidget(Widget)->GetTop(); }
  std::int32_t GetWidth(std::uintptr_t Widget) override { return AsWidget(Widget)->GetWidth(); }
  std::int32_t GetHeight(std::uintptr_t Widget) override { return AsWidget(Widget)->GetHeight(); }
  bool GetLockSidebar(std::uintptr_t Widget) override { return AsWidget(Widget)->GetLockSidebar() != 0; }
  void SetBounds(std::uintptr_t Widget, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                 std::int32_t Height) override {
    AsWidget(Widget)->SetBounds(Left, Top, Width, Height);
  }
};

std::wstring TakeText(BSTR& Text) {
  std::wstring value = Text ? std::wstring(Text, ::SysStringLen(Text)) : std::wstring();
  ::SysFreeString(Text);
  Text = nullptr;
  return value;
}

}  // namespace

void TFmOrvoSidebar::ShowWidget(const std::wstring& AFileName, bool ASave) {
  if (ASave) SaveSidebarSet();
  // Never freed: every open widget's code must outlive its window.
  const HMODULE library = ::LoadLibraryW(AFileName.c_str());
  if (!library) return;
  const auto create =
      reinterpret_cast<TCreateWidget>(reinterpret_cast<void*>(::GetProcAddress(library, "CreateWidget")));
  if (!create) return;
  IWidget* widget = nullptr;
  create(&widget, this);
  if (!widget) throw EWidgetOpenError("CreateWidget delivered no widget");
}

void TFmOrvoSidebar::AlignWidget(std::uintptr_t AValue) {
  TWidgetCalls calls;
  AlignWidgets(FWidgets, FPageIndex, BarMetrics(), calls, AValue);
}

void TFmOrvoSidebar::ChangePage(std::int32_t ADelta) {
  FPageIndex += ADelta;
  AlignWidget(kNoWidget);
}

BOOLEAN STDMETHODCALLTYPE TFmOrvoSidebar::GetWidgetRect(IWidget* Widget, RECT* Rect) {
  try {
    TWidgetCalls calls;
    TSlot slot{};
    if (!GetWidgetSlot(FWidgets, reinterpret_cast<std::uintptr_t>(Widget), BarMetrics(), calls, slot)) return 0;
    if (Rect) *Rect = RECT{slot.Left, slot.Top, slot.Right, slot.Bottom};
    return 1;
  } catch (...) {
    return 0;
  }
}

void TFmOrvoSidebar::WidgetMessage(UINT Msg, std::uintptr_t Widget) {
  if (FClosing) return;
  TWidgetCalls calls;
  switch (Msg) {
    case WM_WIDGET_REGISTER: {
      BSTR name = nullptr;
      AsWidget(Widget)->GetFileName(&name);
      FWidgets.push_back({Widget, TakeText(name), -1});
      break;
    }
    case WM_WIDGET_UNREGISTER:
      try {
        const std::int32_t i = FindWidget(FWidgets, Widget);
        if (i < 0) return;
        FWidgets.erase(FWidgets.begin() + i);
        AlignWidget(kNoWidget);
      } catch (...) {
        // a widget going away never takes the bar with it
      }
      break;
    case WM_WIDGET_SHOWN:
      AlignWidget(kNoWidget);
      break;
    case WM_WIDGET_UNDOCKED:
      UndockWidget(FWidgets, Widget);
      AlignWidget(kNoWidget);
      break;
    case WM_WIDGET_DOCKED:
      DockWidget(FWidgets, Widget, FPageIndex);
      break;
    case WM_WIDGET_DRAGGING:
      DragWidget(FWidgets, Widget, calls, [this, Widget] { AlignWidget(Widget); });
      break;
    default:
      break;
  }
}

std::wstring TFmOrvoSidebar::ListFile(bool Locked) const {
  return FProgramDir + (Locked ? L"LockWidgets.txt" : L"UnLockWidgets.txt");
}

std::vector<std::wstring> TFmOrvoSidebar::ListLines(bool Locked) {
  std::vector<std::wstring> lines;
  for (const TWidgetRec& rec : FWidgets)
    if ((AsWidget(rec.Widget)->GetLockSidebar() != 0) == Locked) lines.push_back(WidgetListLine(rec.FileName));
  return lines;
}

void TFmOrvoSidebar::SaveSidebarSet() {
  TWidgetOptions& options = *WidgetOptions;
  options.FSidebarAutoHide = FAutoHide;
  options.FSidebarWinDesk = FWinDesk;
  options.FSidebarMonitor = FMonitor;
  options.FSidebarAlign = FSidebarAlign;
  options.FSidebarSkin = FBaseSkin.substr(FBaseSkin.find_last_of(L'\\') + 1);
  options.FWidgetInterval = FWidgetInv;
  options.Save();
  const std::vector<std::wstring> unlocked = ListLines(false);
  const std::vector<std::wstring> locked = ListLines(true);
  WriteWidgetList(ListFile(false), unlocked);
  WriteWidgetList(ListFile(true), locked);
}

void TFmOrvoSidebar::LoadWidgets(bool Locked) {
  if (!Visible()) return;
  const THourglass wait;
  for (const std::wstring& line : ReadWidgetList(ListFile(Locked))) {
    const std::wstring path = WidgetPathFromLine(FProgramDir, line);
    if (!line.empty() && IsFile(path)) ShowWidget(path, false);
    Application.ProcessMessages();
    ::Sleep(10);
  }
}

void TFmOrvoSidebar::FormClose() {
  // Last to first; they unregister while destroyed, which the bar no longer heeds.
  const TWidgetList open = FWidgets;
  FClosing = true;
  for (auto it = open.rbegin(); it != open.rend(); ++it) AsWidget(it->Widget)->Close();
}
