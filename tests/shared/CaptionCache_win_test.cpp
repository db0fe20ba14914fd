// The caption cache: a caption is laid out once while nothing that shapes it changes, a
// change of any of its inputs shows at the next draw, and a full cache drops the oldest.
#include "CaptionCache.h"

#include <gtest/gtest.h>

#include "GDIPlusCommon.h"
#include "LayeredSurface.h"

namespace {

class CaptionCacheTest : public testing::Test {
 protected:
  void TearDown() override { CaptionImages().SetLimits({}); }

  // The caption composed on a surface of the button's size; how many renders it took.
  static std::size_t Draw(const TPNGButton& Button, TLayeredSurface& Surface) {
    const std::size_t before = CaptionImages().Renders();
    DrawPNGButton(*Surface.Graphics(), Button);
    return CaptionImages().Renders() - before;
  }

  static std::uint32_t Sum(const TLayeredSurface& Surface) {
    std::uint32_t sum = 0;
    for (int y = 0; y < Surface.Height(); ++y)
      for (int x = 0; x < Surface.Width(); ++x) sum += Surface.Pixel(x, y) >> 24;
    return sum;
  }
};

TEST_F(CaptionCacheTest, LaidOutOnceAndAnewForEveryChangeOfItsInputs) {
  TPNGButton button;
  button.SetBounds(0, 0, 80, 20);
  button.SetCaption(L"多云");
  TLayeredSurface first(80, 20), again(80, 20);
  EXPECT_EQ(Draw(button, first), 1u);
  EXPECT_EQ(Draw(button, again), 0u);
  EXPECT_GT(Sum(first), 0u);
  EXPECT_EQ(Sum(first), Sum(again));

  struct TChange {
    const char* What;
    void (*Apply)(TPNGButton&);
  };
  for (const TChange& change : {
           TChange{"text", [](TPNGButton& b) { b.SetCaption(L"多云转晴"); }},
           TChange{"colour", [](TPNGButton& b) { b.Font.Color = RGB(255, 0, 0); }},
           TChange{"size", [](TPNGButton& b) { b.Font.Size = 12; }},
           TChange{"style", [](TPNGButton& b) { b.Font.Bold = true; }},
           TChange{"alignment", [](TPNGButton& b) { b.FStringAlignment = Gdiplus::StringAlignmentFar; }},
           TChange{"box", [](TPNGButton& b) { b.SetBounds(0, 0, 60, 20); }},
           TChange{"fit", [](TPNGButton& b) { b.FitCaption = true; }},
       }) {
    change.Apply(button);
    TLayeredSurface surface(80, 20);
    EXPECT_EQ(Draw(button, surface), 1u) << change.What;
  }
}

TEST_F(CaptionCacheTest, AtItsBoundTheOldestCaptionGoesAndEveryOneStillDraws) {
  CaptionImages().SetLimits({2, std::size_t{1} << 20});
  TPNGButton a, b, c;
  for (TPNGButton* button : {&a, &b, &c}) button->SetBounds(0, 0, 40, 16);
  a.SetCaption(L"一");
  b.SetCaption(L"二");
  c.SetCaption(L"三");
  TLayeredSurface surface(40, 16);
  EXPECT_EQ(Draw(a, surface) + Draw(b, surface) + Draw(c, surface), 3u);
  EXPECT_EQ(CaptionImages().Count(), 2u);
  EXPECT_EQ(Draw(c, surface), 0u);  // kept
  EXPECT_EQ(Draw(b, surface), 0u);
  TLayeredSurface fresh(40, 16);
  EXPECT_EQ(Draw(a, fresh), 1u);  // dropped, laid out again, and drawn
  EXPECT_GT(Sum(fresh), 0u);
}

}  // namespace
