// TFmWidgetBase: the base of every skinned window. Borderless tool window whose whole look
// is one per-pixel-alpha image composed from its image buttons; an update switch batches
// changes; three window modes.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "DefineUint.h"
#include "GDIPlusCommon.h"
#include "LayeredSurface.h"
#include "UpdateSwitch.h"
#include "Window.h"

class TFmWidgetBase : public TWindow {
 public:
  void BeginUpdate() { FUpdate.BeginUpdate(); }
  void EndUpdate() {
    if (FUpdate.EndUpdate()) DrawWindow();
  }
  bool Updating() const { return !FUpdate.Drawing(); }

  // Composes the window image and pushes it: ComposeWindow, then the push with the
  // window's constant alpha.
  virtual void DrawWindow();
  // The window image as it would be pushed now, from a fully transparent surface.
  std::unique_ptr<TLayeredSurface> ComposeWindow();

  TWinDesk WinDesk() const { return FWinDesk; }
  // Normal / always on top / child of the desktop window; no move, resize or activation.
  virtual void SetWinDesk(TWinDesk Value);

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  bool Visible() const { return Handle() && ::IsWindowVisible(Handle()); }

 protected:
  // Creates the borderless window; drawing stays off until FormCreate.
  bool CreateForm(const wchar_t* ClassName, const wchar_t* Caption, int Left, int Top, int Width, int Height,
                  HWND Owner);
  // Switches drawing on and makes the window a tool window.
  virtual void FormCreate();

  // Draws the buttons taking part, back to front. Empty in the base.
  virtual void PaintButtons(Gdiplus::Graphics& Graphics);
  virtual BYTE ConstantAlpha() const { return 255; }

  // The buttons that receive mouse input, back to front (the last one is on top).
  void AddButton(TPNGButton& Button);

  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

  // The topmost visible button at a client point, or null.
  TPNGButton* ButtonAt(int X, int Y) const;

  TWinDesk FWinDesk = wdNormal;

 private:
  void MouseMoved(int X, int Y);
  void MouseLeft();
  void ButtonDown(TMouseButton Button, int X, int Y);
  void ButtonUp(TMouseButton Button, int X, int Y);

  TUpdateSwitch FUpdate;
  std::vector<TPNGButton*> FButtons;
  TPNGButton* FHover = nullptr;
  TPNGButton* FPressed = nullptr;
  bool FTrackingLeave = false;
  HWND FOwner = nullptr;  // the owner window, kept while embedded in the desktop
};
