#include "WidgetWindowRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<TGlidePoint> Points(std::initializer_list<std::pair<int, int>> XY) {
  std::vector<TGlidePoint> points;
  for (const auto& [x, y] : XY) points.push_back({x, y});
  return points;
}

struct TGlideCase {
  const char* Name;
  int Left, Top, TargetLeft, TargetTop;
  std::vector<TGlidePoint> Expected;
};

class GlideStepsTest : public testing::TestWithParam<TGlideCase> {};

TEST_P(GlideStepsTest, PositionsBeforeTheFinalJump) {
  const TGlideCase& c = GetParam();
  EXPECT_EQ(GlideSteps(c.Left, c.Top, c.TargetLeft, c.TargetTop), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GlideStepsTest,
    testing::Values(
        // -15: ceiling(-1.5) = -1 per step; after ten steps 5 pixels remain for the final jump.
        TGlideCase{"LeftFifteen", 100, 50, 85, 50,
                   Points({{99, 50}, {98, 50}, {97, 50}, {96, 50}, {95, 50}, {94, 50}, {93, 50}, {92, 50}, {91, 50},
                           {90, 50}})},
        // +15: ceiling(1.5) = 2 per step; the eighth step would pass 115 and arrives.
        TGlideCase{"RightFifteen", 100, 50, 115, 50,
                   Points({{102, 50}, {104, 50}, {106, 50}, {108, 50}, {110, 50}, {112, 50}, {114, 50}})},
        TGlideCase{"Up", 0, 30, 0, 15,
                   Points({{0, 29}, {0, 28}, {0, 27}, {0, 26}, {0, 25}, {0, 24}, {0, 23}, {0, 22}, {0, 21}, {0, 20}})},
        TGlideCase{"Down", 0, 15, 0, 30, Points({{0, 17}, {0, 19}, {0, 21}, {0, 23}, {0, 25}, {0, 27}, {0, 29}})},
        TGlideCase{"Diagonal", 0, 0, 100, 200,
                   Points({{10, 20}, {20, 40}, {30, 60}, {40, 80}, {50, 100}, {60, 120}, {70, 140}, {80, 160},
                           {90, 180}})},
        // One coordinate arrives and stays on its target while the other goes on.
        TGlideCase{"ArrivedAxisStays", 0, 100, 15, 85,
                   Points({{2, 99}, {4, 98}, {6, 97}, {8, 96}, {10, 95}, {12, 94}, {14, 93}, {15, 92}, {15, 91},
                           {15, 90}})},
        TGlideCase{"ZeroDistance", 40, 40, 40, 40, {}},
        TGlideCase{"OnePixel", 40, 40, 41, 40, {}},
        // -5 gives the step ceiling(-0.5) = 0: the window waits in place and then jumps.
        TGlideCase{"SmallLeftDoesNotMove", 40, 40, 35, 40,
                   Points({{40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40},
                           {40, 40}, {40, 40}})},
        TGlideCase{"FarEdges", INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN,
                   Points({{-1717986918, 1717986918}, {-1288490188, 1288490189}, {-858993458, 858993460},
                           {-429496728, 429496731}, {2, 2}, {429496732, -429496727}, {858993462, -858993456},
                           {1288490192, -1288490185}, {1717986922, -1717986914}, {2147483647, -2147483643}})}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct TAlphaCase {
  int Percent;
  int Alpha;
};

class BlendAlphaTest : public testing::TestWithParam<TAlphaCase> {};

TEST_P(BlendAlphaTest, RoundsHalvesToEvenAndKeepsTheLowByte) {
  EXPECT_EQ(BlendAlpha(static_cast<std::uint8_t>(GetParam().Percent)), GetParam().Alpha);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendAlphaTest,
                         testing::Values(TAlphaCase{10, 25}, TAlphaCase{20, 50}, TAlphaCase{40, 100},
                                         TAlphaCase{60, 150}, TAlphaCase{80, 200}, TAlphaCase{100, 250},
                                         TAlphaCase{1, 2},     // 2.5
                                         TAlphaCase{3, 8},     // 7.5
                                         TAlphaCase{5, 12},    // 12.5
                                         TAlphaCase{0, 0},
                                         TAlphaCase{102, 255},
                                         TAlphaCase{103, 2},   // 257.5 -> 258
                                         TAlphaCase{255, 126}  // 637.5 -> 638
                                         ));

struct TNameCase {
  std::wstring Chosen;
  std::wstring Written;
};

class SnapshotFileNameTest : public testing::TestWithParam<TNameCase> {};

TEST_P(SnapshotFileNameTest, AppendsPngUnlessPresent) {
  EXPECT_EQ(SnapshotFileName(GetParam().Chosen), GetParam().Written);
}

INSTANTIATE_TEST_SUITE_P(Cases, SnapshotFileNameTest,
                         testing::Values(TNameCase{L"shot", L"shot.png"}, TNameCase{L"a.jpg", L"a.jpg.png"},
                                         TNameCase{L"a.png", L"a.png"}, TNameCase{L"a.PNG", L"a.PNG"},
                                         TNameCase{L"a.pNg", L"a.pNg"},
                                         TNameCase{L"C:\\dir.x\\shot", L"C:\\dir.x\\shot.png"},
                                         TNameCase{L"C:\\shots.png\\a", L"C:\\shots.png\\a.png"},
                                         TNameCase{L"D:x.png", L"D:x.png"},
                                         TNameCase{L"C:\\Users\\a.b\\天气.png", L"C:\\Users\\a.b\\天气.png"},
                                         TNameCase{L"a.png.bak", L"a.png.bak.png"},
                                         TNameCase{L"a.png ", L"a.png .png"}, TNameCase{L"C:\\x\\.png", L"C:\\x\\.png"},
                                         TNameCase{L"", L".png"}));

struct TDirCase {
  std::wstring Library;
  std::wstring Dir;
};

class FlatToolDirTest : public testing::TestWithParam<TDirCase> {};

TEST_P(FlatToolDirTest, HostSkinDirectory) { EXPECT_EQ(FlatToolDir(GetParam().Library), GetParam().Dir); }

INSTANTIATE_TEST_SUITE_P(
    Cases, FlatToolDirTest,
    testing::Values(TDirCase{L"C:\\Apps\\Sidebar\\Widgets\\Weather\\Widget.dll",
                             L"C:\\Apps\\Sidebar\\SKIN\\FlatTool\\"},
                    TDirCase{L"C:\\Apps\\Sidebar\\widgets\\Weather\\Widget.dll",
                             L"C:\\Apps\\Sidebar\\SKIN\\FlatTool\\"},
                    TDirCase{L"C:\\Widgets\\a\\Widgets\\Widget.dll", L"C:\\SKIN\\FlatTool\\"},  // the first one
                    TDirCase{L"D:\\Weather\\Widget.dll", L"D:\\Weather\\Widget.dllSKIN\\FlatTool\\"}));

struct TCentreCase {
  int MonitorLeft, MonitorTop, MonitorWidth, MonitorHeight, Width, Height;
  int Left, Top;
};

class CentredPositionTest : public testing::TestWithParam<TCentreCase> {};

TEST_P(CentredPositionTest, HalvesTruncateTowardZero) {
  const TCentreCase& c = GetParam();
  const TDefaultPosition p = CentredPosition(c.MonitorLeft, c.MonitorTop, c.MonitorWidth, c.MonitorHeight, c.Width,
                                             c.Height);
  EXPECT_EQ(p.Left, c.Left);
  EXPECT_EQ(p.Top, c.Top);
}

INSTANTIATE_TEST_SUITE_P(Cases, CentredPositionTest,
                         testing::Values(TCentreCase{0, 0, 1920, 1080, 140, 130, 890, 475},
                                         TCentreCase{0, 0, 1921, 1081, 140, 130, 890, 475},
                                         TCentreCase{1920, -200, 1280, 1024, 140, 130, 2490, 247},
                                         TCentreCase{-1280, 0, 1280, 1024, 140, 131, -710, 446},
                                         // A window wider than the monitor: -41 / 2 is -20, not -21.
                                         TCentreCase{0, 0, 100, 100, 141, 131, -20, -15}));

}  // namespace
