#include "GalleryPages.h"

#include "ZekText.h"

std::int32_t GalleryPageCount(std::int32_t Count) {
  if (Count <= 0) return 0;
  return (Count - 1) / kTilesPerPage + 1;
}

std::int32_t StepGalleryPage(std::int32_t Current, std::int32_t Delta, std::int32_t Count) {
  // Widened: a step from an extreme page never overflows.
  std::int64_t page = static_cast<std::int64_t>(Current) + Delta;
  if (page <= 0) page = 0;
  const std::int64_t last = static_cast<std::int64_t>(GalleryPageCount(Count)) - 1;
  return static_cast<std::int32_t>(page < last ? page : last);
}

std::wstring GalleryPageLabel(std::int32_t Page, std::int32_t Count) {
  // Page is -1 while the list is empty, which reads "0/0".
  return IntToDigits(Page + 1) + L"/" + IntToDigits(GalleryPageCount(Count));
}

std::int32_t TileListIndex(std::int32_t Page, std::int32_t Tile, std::int32_t Count) {
  if (Page < 0 || Tile < 0 || Tile >= kTilesPerPage) return -1;
  const std::int64_t index = static_cast<std::int64_t>(Page) * kTilesPerPage + Tile;
  return index < Count ? static_cast<std::int32_t>(index) : -1;
}

TIconOrigin TileIconOrigin(std::int32_t TileLeft, std::int32_t TileTop, std::int32_t TileWidth,
                           std::int32_t TileHeight, std::int32_t IconWidth, std::int32_t IconHeight) {
  // C++ division truncates toward zero.
  return {TileLeft + (TileWidth - IconWidth) / 2, TileTop + (TileHeight - IconHeight - kTileNameHeight) / 2};
}

std::wstring MakerSiteAddress(const std::wstring& Host) {
  if (Host.find(L"://") != std::wstring::npos) return Host;
  return L"http://" + Host;
}
