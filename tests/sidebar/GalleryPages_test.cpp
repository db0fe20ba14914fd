#include "GalleryPages.h"

#include <gtest/gtest.h>

namespace {

TEST(GalleryPages, PageCountsAndLabels) {
  struct TCase {
    std::int32_t Count, Page;
    const wchar_t* Label;
  };
  for (const TCase& c : {TCase{0, -1, L"0/0"}, TCase{1, 0, L"1/1"}, TCase{6, 0, L"1/1"}, TCase{7, 0, L"1/2"},
                         TCase{7, 1, L"2/2"}, TCase{12, 1, L"2/2"}, TCase{13, 2, L"3/3"}}) {
    EXPECT_EQ(GalleryPageLabel(c.Page, c.Count), c.Label) << c.Count << " widgets, page " << c.Page;
  }
  EXPECT_EQ(GalleryPageCount(0), 0);
  EXPECT_EQ(GalleryPageCount(6), 1);
  EXPECT_EQ(GalleryPageCount(7), 2);
}

TEST(GalleryPages, StepsStayWithinThePages) {
  struct TCase {
    std::int32_t Current, Delta, Count, Expected;
  };
  for (const TCase& c : {
           TCase{-1, 1, 0, -1},  // empty: no page at all
           TCase{-1, 1, 7, 0},   // the first page of a fresh list
           TCase{0, 1, 7, 1},    // right
           TCase{1, 1, 7, 1},    // right on the last page: unchanged
           TCase{1, -1, 7, 0},   // left returns
           TCase{0, -1, 7, 0},   // left on the first page: unchanged
           TCase{0, 1, 6, 0},    // six widgets make one page
           TCase{0, -1, 0, -1},  // left on an empty list
           TCase{2147483647, 1, 7, 1},
       }) {
    EXPECT_EQ(StepGalleryPage(c.Current, c.Delta, c.Count), c.Expected)
        << c.Current << " + " << c.Delta << " of " << c.Count;
  }
}

TEST(GalleryPages, TilesMapToListIndexes) {
  // Seven widgets: page 0 fills all six tiles, page 1 only the first.
  for (std::int32_t tile = 0; tile < 6; ++tile) EXPECT_EQ(TileListIndex(0, tile, 7), tile);
  EXPECT_EQ(TileListIndex(1, 0, 7), 6);
  for (std::int32_t tile = 1; tile < 6; ++tile) EXPECT_EQ(TileListIndex(1, tile, 7), -1) << tile;
  EXPECT_EQ(TileListIndex(-1, 0, 0), -1);
  EXPECT_EQ(TileListIndex(0, 6, 12), -1);  // there is no seventh tile
}

TEST(GalleryPages, IconCentredOnTheTileAboveItsName) {
  struct TCase {
    std::int32_t IconWidth, IconHeight;
    TIconOrigin Expected;
  };
  // Tile 68,95 120 x 120; the name takes its bottom 20 pixels.
  for (const TCase& c : {TCase{64, 64, {96, 113}}, TCase{63, 63, {96, 113}}, TCase{65, 61, {95, 114}},
                         TCase{120, 100, {68, 95}}, TCase{131, 111, {63, 90}}}) {
    EXPECT_EQ(TileIconOrigin(68, 95, 120, 120, c.IconWidth, c.IconHeight), c.Expected)
        << c.IconWidth << " x " << c.IconHeight;
  }
}

TEST(GalleryPages, MakerSiteIsAnHttpAddress) {
  EXPECT_EQ(MakerSiteAddress(L"www.norrel.example"), L"http://www.norrel.example");
  EXPECT_EQ(MakerSiteAddress(L"https://norrel.example/widgets"), L"https://norrel.example/widgets");
}

}  // namespace
