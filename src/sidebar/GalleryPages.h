// The gallery's pages and tiles: six tiles to a page, the page label, where a tile's
// icon stands. Portable: indexes and rectangles as values.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::int32_t kTilesPerPage = 6;

// ceil(Count / 6); 0 for an empty list.
std::int32_t GalleryPageCount(std::int32_t Count);

// The page shown after a step of Delta from Current (-1 before the first page): never
// below 0, never beyond the last page, so -1 only while the list is empty.
std::int32_t StepGalleryPage(std::int32_t Current, std::int32_t Delta, std::int32_t Count);

// "page/pages" counted from 1: "1/2" for page 0 of seven widgets, "0/0" for none.
std::wstring GalleryPageLabel(std::int32_t Page, std::int32_t Count);

// The list index shown by tile Tile (0 to 5) of page Page; -1 when that tile stays empty.
std::int32_t TileListIndex(std::int32_t Page, std::int32_t Tile, std::int32_t Count);

struct TIconOrigin {
  std::int32_t Left = 0, Top = 0;
  bool operator==(const TIconOrigin&) const = default;
};

// The icon centred across the tile and in the tile's part above its 20-pixel name line;
// halves truncated toward zero, so an icon larger than the tile overhangs evenly.
TIconOrigin TileIconOrigin(std::int32_t TileLeft, std::int32_t TileTop, std::int32_t TileWidth,
                           std::int32_t TileHeight, std::int32_t IconWidth, std::int32_t IconHeight);

inline constexpr std::int32_t kTileNameHeight = 20;

// The address the "more widgets" link opens: a bare host name becomes an http address.
std::wstring MakerSiteAddress(const std::wstring& Host);
