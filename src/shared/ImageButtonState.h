// What an image button shows and when it asks to be repainted: the portable state machine
// behind TPNGButton.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum TPNGButtonState : std::uint8_t { pbsNormal, pbsDown, pbsDisabled };

enum class TMouseButton : std::uint8_t { Left, Right, Middle };

// The one caption style applied, first match wins: a bold underlined font is drawn
// underlined only.
enum class TCaptionStyle : std::uint8_t { Regular, Bold, Italic, BoldItalic, Underline, StrikeOut };
TCaptionStyle ChooseCaptionStyle(bool Bold, bool Italic, bool Underline, bool StrikeOut);

// Set when something other than blanks and control characters remains.
bool IsImageSet(std::wstring_view Path);

class TImageButtonState {
 public:
  // The image to show now: the hover image while hovered (pressed or enabled), else the
  // normal one. There is no separate pressed or disabled image.
  const std::wstring& GetImage() const;
  // True when the caption uses the hover font.
  bool UsesFontOver() const;

  // Each event returns true when the button repaints.
  bool MouseEnter();
  bool MouseLeave();
  void MouseMove(int X, int Y, int ClientWidth, int ClientHeight);
  void MouseDown(TMouseButton Button);
  void Click();
  void MouseUp();
  void SetEnabled(bool Value);

  // Repaints unless the path is the same ignoring letter case.
  bool SetImageNormal(const std::wstring& Path);
  bool SetImageOver(const std::wstring& Path);

  bool FMouseOverControl = false;
  TPNGButtonState FButtonState = pbsNormal;
  bool FEnabled = true;
  std::wstring FImageNormal;
  std::wstring FImageOver;
};
