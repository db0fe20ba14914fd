#include "ImageButtonState.h"

#include <gtest/gtest.h>

#include <vector>

#include "UpdateSwitch.h"

namespace {

enum class TStep { Enter, Leave, LeftDown, RightDown, Click, Up, Disable, Enable };

struct TStepCase {
  const char* Name;
  const wchar_t* Normal;
  const wchar_t* Over;
  std::vector<TStep> Steps;
  std::vector<bool> Repaints;  // per step
  TPNGButtonState FinalState;
  const wchar_t* FinalImage;
  bool FinalFontOver;
};

class ImageButtonStepTest : public testing::TestWithParam<TStepCase> {};

TEST_P(ImageButtonStepTest, RepaintsAndShows) {
  const TStepCase& c = GetParam();
  TImageButtonState button;
  button.SetImageNormal(c.Normal);
  button.SetImageOver(c.Over);
  std::vector<bool> repaints;
  for (TStep step : c.Steps) {
    bool repaint = false;
    switch (step) {
      case TStep::Enter: repaint = button.MouseEnter(); break;
      case TStep::Leave: repaint = button.MouseLeave(); break;
      case TStep::LeftDown: button.MouseDown(TMouseButton::Left); break;
      case TStep::RightDown: button.MouseDown(TMouseButton::Right); break;
      case TStep::Click: button.Click(); break;
      case TStep::Up: button.MouseUp(); break;
      case TStep::Disable: button.SetEnabled(false); break;
      case TStep::Enable: button.SetEnabled(true); break;
    }
    repaints.push_back(repaint);
  }
  EXPECT_EQ(repaints, c.Repaints);
  EXPECT_EQ(button.FButtonState, c.FinalState);
  EXPECT_EQ(button.GetImage(), c.FinalImage);
  EXPECT_EQ(button.UsesFontOver(), c.FinalFontOver);
}

using S = TStep;
INSTANTIATE_TEST_SUITE_P(
    Cases, ImageButtonStepTest,
    testing::Values(
        TStepCase{"normal_only_never_repaints", L"n.png", L"", {S::Enter, S::Leave}, {false, false}, pbsNormal,
                  L"n.png", false},
        TStepCase{"both_repaint_on_enter_and_leave", L"n.png", L"o.png", {S::Enter, S::Leave}, {true, true},
                  pbsNormal, L"n.png", false},
        TStepCase{"hovered_shows_over", L"n.png", L"o.png", {S::Enter}, {true}, pbsNormal, L"o.png", true},
        // The hover image stays until the next recomposition: leaving does not repaint.
        TStepCase{"over_only_repaints_on_enter", L"", L"o.png", {S::Enter, S::Leave}, {true, false}, pbsNormal,
                  L"", false},
        TStepCase{"blank_over_counts_as_unset", L"n.png", L" \t", {S::Enter}, {false}, pbsNormal, L"n.png", true},
        TStepCase{"press_changes_state_only", L"n.png", L"o.png", {S::Enter, S::LeftDown}, {true, false}, pbsDown,
                  L"o.png", true},
        TStepCase{"press_then_click", L"n.png", L"o.png", {S::Enter, S::LeftDown, S::Click}, {true, false, false},
                  pbsNormal, L"o.png", true},
        TStepCase{"press_then_release_elsewhere", L"n.png", L"o.png", {S::LeftDown, S::Up}, {false, false}, pbsNormal,
                  L"n.png", false},
        TStepCase{"right_button_does_not_press", L"n.png", L"o.png", {S::RightDown}, {false}, pbsNormal, L"n.png",
                  false},
        TStepCase{"disabled_shows_normal_even_hovered", L"n.png", L"o.png", {S::Disable, S::Enter}, {false, true},
                  pbsDisabled, L"n.png", false},
        TStepCase{"disabled_cannot_be_pressed", L"n.png", L"o.png", {S::Disable, S::LeftDown}, {false, false},
                  pbsDisabled, L"n.png", false},
        TStepCase{"enabled_again_is_normal", L"n.png", L"o.png", {S::Disable, S::Enable, S::Enter},
                  {false, false, true}, pbsNormal, L"o.png", true}),
    [](const testing::TestParamInfo<TStepCase>& info) { return info.param.Name; });

TEST(ImageButtonState, MouseMoveInsideMarksHoverUnlessPressed) {
  TImageButtonState button;
  button.MouseMove(5, 5, 16, 16);
  EXPECT_TRUE(button.FMouseOverControl);

  TImageButtonState outside;
  outside.MouseMove(16, 5, 16, 16);  // the right edge is outside
  EXPECT_FALSE(outside.FMouseOverControl);

  TImageButtonState pressed;
  pressed.MouseDown(TMouseButton::Left);
  pressed.MouseMove(5, 5, 16, 16);
  EXPECT_FALSE(pressed.FMouseOverControl);
}

TEST(ImageButtonState, SameImageInOtherCaseDoesNotRepaint) {
  TImageButtonState button;
  EXPECT_TRUE(button.SetImageNormal(L"C:\\Skin\\Add.png"));
  EXPECT_FALSE(button.SetImageNormal(L"c:\\skin\\ADD.PNG"));
  EXPECT_EQ(button.FImageNormal, L"C:\\Skin\\Add.png");
  EXPECT_TRUE(button.SetImageNormal(L"C:\\Skin\\Up.png"));
}

TEST(CaptionStyle, OnlyOneStyleFirstMatchWins) {
  struct {
    bool Bold, Italic, Underline, StrikeOut;
    TCaptionStyle Style;
  } const cases[] = {
      {false, false, false, false, TCaptionStyle::Regular},  {true, false, false, false, TCaptionStyle::Bold},
      {false, true, false, false, TCaptionStyle::Italic},    {true, true, false, false, TCaptionStyle::BoldItalic},
      {true, false, true, false, TCaptionStyle::Underline},  {true, true, true, true, TCaptionStyle::StrikeOut},
      {false, false, true, true, TCaptionStyle::StrikeOut},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseCaptionStyle(c.Bold, c.Italic, c.Underline, c.StrikeOut), c.Style)
        << c.Bold << c.Italic << c.Underline << c.StrikeOut;
}

TEST(UpdateSwitch, FlagNotCounter) {
  TUpdateSwitch loading;
  EXPECT_FALSE(loading.Drawing());  // nothing is drawn before the window exists
  TUpdateSwitch created;
  created.Created();
  EXPECT_FALSE(created.EndUpdate());  // EndUpdate without BeginUpdate draws nothing
  created.BeginUpdate();
  created.BeginUpdate();
  EXPECT_TRUE(created.EndUpdate());   // the inner EndUpdate draws
  EXPECT_FALSE(created.EndUpdate());  // the outer one finds drawing on
  EXPECT_TRUE(created.Drawing());
}

}  // namespace
