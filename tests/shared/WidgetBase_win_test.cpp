#include "WidgetBase.h"

#include <gtest/gtest.h>

#include "Hourglass.h"
#include "MessagePump.h"

namespace {

class TCountingForm final : public TFmWidgetBase {
 public:
  TCountingForm() {
    CreateForm(L"TCountingForm", L"", 100, 100, 60, 40, nullptr);
    FormCreate();
    AddButton(Button);
  }
  void DrawWindow() override {
    ++Draws;
    TFmWidgetBase::DrawWindow();
  }
  TPNGButton Button;
  int Draws = 0;
};

TEST(WidgetBase, IsAToolWindowWithoutTaskbarButton) {
  TCountingForm form;
  const LONG_PTR exStyle = ::GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(::GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CAPTION);
}

TEST(WidgetBase, UpdateSwitchAndButtonRepaints) {
  TCountingForm form;
  form.EndUpdate();  // without BeginUpdate: nothing
  EXPECT_EQ(form.Draws, 0);

  form.Button.SetCaption(L"a");  // hidden: the repaint request draws nothing
  EXPECT_EQ(form.Draws, 0);
  form.BeginUpdate();
  form.EndUpdate();  // draws even while hidden
  EXPECT_EQ(form.Draws, 1);

  ::ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  form.Draws = 0;
  form.Button.SetCaption(L"a");  // the same caption still repaints
  EXPECT_EQ(form.Draws, 1);
  form.BeginUpdate();
  form.BeginUpdate();
  form.Button.SetCaption(L"b");
  form.Button.SetCaption(L"c");
  EXPECT_EQ(form.Draws, 1);
  form.EndUpdate();
  form.EndUpdate();
  EXPECT_EQ(form.Draws, 2);  // once, at the inner EndUpdate
  EXPECT_TRUE(::GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(WidgetBase, WindowModes) {
  TCountingForm form;
  ::ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  const auto topmost = [&] { return (::GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  const auto parent = [&] { return ::GetAncestor(form.Handle(), GA_PARENT); };
  RECT before{};
  ::GetWindowRect(form.Handle(), &before);

  form.SetWinDesk(wdTop);
  EXPECT_TRUE(topmost());
  form.SetWinDesk(wdDesk);
  EXPECT_FALSE(topmost());
  EXPECT_EQ(parent(), ::GetDesktopWindow());
  form.SetWinDesk(wdDesk);  // already there: nothing
  EXPECT_EQ(form.WinDesk(), wdDesk);
  form.SetWinDesk(wdTop);
  EXPECT_TRUE(topmost());
  EXPECT_EQ(::GetAncestor(form.Handle(), GA_ROOT), form.Handle());
  form.SetWinDesk(wdNormal);
  EXPECT_FALSE(topmost());
  form.SetWinDesk(static_cast<TWinDesk>(9));  // stored, nothing else
  EXPECT_EQ(form.WinDesk(), static_cast<TWinDesk>(9));
  EXPECT_FALSE(topmost());

  RECT after{};
  ::GetWindowRect(form.Handle(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
}

TEST(WidgetBase, MouseInputReachesButtons) {
  TCountingForm form;
  ::ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  form.Button.SetBounds(10, 10, 20, 20);
  int clicks = 0;
  form.Button.OnClick = [&](TPNGButton&) { ++clicks; };
  ::SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_TRUE(form.Button.IsMouseOver());
  ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  EXPECT_EQ(form.Button.ButtonState(), pbsDown);
  ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(form.Button.ButtonState(), pbsNormal);
  EXPECT_EQ(clicks, 1);

  // Released outside: no click.
  ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 35));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.Button.ButtonState(), pbsNormal);

  form.Button.SetEnabled(false);
  ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(clicks, 1);
}

// The cursor a window sets when asked by WM_SETCURSOR with the mouse at a client point.
HCURSOR CursorAt(const TCountingForm& Form, int X, int Y) {
  POINT screen{X, Y};
  ::ClientToScreen(Form.Handle(), &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SetCursor(nullptr);
  ::SendMessageW(Form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Form.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return ::GetCursor();
}

TEST(WidgetBase, CursorOfButtonsAndTheHourglass) {
  TCountingForm form;
  ::ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  form.Button.SetBounds(10, 10, 20, 20);
  form.Button.Cursor = IDC_HAND;
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  EXPECT_EQ(CursorAt(form, 15, 15), hand);
  EXPECT_EQ(CursorAt(form, 45, 30), arrow);
  {
    // Messages pumped during a wait keep the hourglass, over a button too.
    const THourglass waiting;
    EXPECT_EQ(CursorAt(form, 45, 30), wait);
    EXPECT_EQ(CursorAt(form, 15, 15), wait);
  }
  EXPECT_EQ(CursorAt(form, 45, 30), arrow);
  EXPECT_EQ(CursorAt(form, 15, 15), hand);
}

}  // namespace
