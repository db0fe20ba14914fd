// Button captions rendered once into premultiplied pixels and kept while everything that
// shapes them is unchanged (text, face, size, style, colour, alignment, box), so a redraw
// blends them instead of laying out text anew. Bounded in entries and bytes, least
// recently used out. One cache per module, user-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "SkinImageCache.h"

class TCaptionCache {
 public:
  struct TLimits {
    std::size_t Entries = 1024;
    std::size_t Bytes = std::size_t{16} << 20;
  };

  // Everything that decides a caption's pixels.
  struct TKey {
    std::wstring Text, Face;
    float Size = 0;
    int Style = 0;
    COLORREF Color = 0;
    int Alignment = 0, LineAlignment = 0;
    int Width = 0, Height = 0;
    bool Fit = false;
  };
  // Draws the caption into a Width x Height transparent surface, its box at the origin.
  using TRender = std::function<void(Gdiplus::Graphics&)>;

  TCaptionCache() = default;
  TCaptionCache(const TCaptionCache&) = delete;
  TCaptionCache& operator=(const TCaptionCache&) = delete;

  // The caption's pixels, rendered by Render the first time; Data is null for an empty box.
  // Valid until the next call.
  TSkinImageCache::TPixels Caption(const TKey& Key, const TRender& Render);

  void SetLimits(TLimits Limits);
  std::size_t Count() const { return FEntries.size(); }
  std::size_t Renders() const { return FRenders; }

 private:
  struct TEntry {
    std::wstring Key;
    std::vector<std::uint32_t> Pixels;
    int Width = 0, Height = 0;
  };
  using TList = std::list<TEntry>;

  static std::wstring KeyText(const TKey& Key);
  void Trim();

  TLimits FLimits;
  TList FEntries;  // most recently used first
  std::unordered_map<std::wstring, TList::iterator> FIndex;
  std::size_t FBytes = 0;
  std::size_t FRenders = 0;
};

// The module's cache.
TCaptionCache& CaptionImages();
