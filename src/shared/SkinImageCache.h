// Decoded skin images, kept while their files are unchanged. Every request looks at the
// file once (size, last-write and creation time: one attribute query, no read), so a file
// replaced on disk shows at the next draw and a file that vanished draws nothing, exactly as
// if it were decoded anew each time. Bounded in entries and bytes, least recently used out.
// One cache per module, user-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TSkinImageCache {
 public:
  struct TLimits {
    std::size_t Entries = 256;
    std::size_t Bytes = std::size_t{64} << 20;
  };

  TSkinImageCache() = default;
  TSkinImageCache(const TSkinImageCache&) = delete;
  TSkinImageCache& operator=(const TSkinImageCache&) = delete;

  // The image of Path as its file is now, premultiplied 32-bit; null when the file is
  // missing or not an image. Valid until the next call.
  Gdiplus::Bitmap* Image(const std::wstring& Path);
  // The same image scaled to Width x Height (scaled once, as drawing it scaled would), so a
  // stretched skin draws at 1:1. Valid until the next call.
  Gdiplus::Bitmap* Image(const std::wstring& Path, int Width, int Height);

  // The premultiplied pixels of Image(Path, Width, Height), rows packed, for blending them
  // straight into a surface; Data is null when there is no image. Valid until the next call.
  struct TPixels {
    const std::uint32_t* Data = nullptr;
    int Width = 0, Height = 0;
  };
  TPixels Pixels(const std::wstring& Path, int Width, int Height);

  void SetLimits(TLimits Limits);
  std::size_t Count() const { return FEntries.size(); }
  std::size_t Bytes() const { return FBytes; }
  // How many files were decoded so far (a measure for tests and benchmarks).
  std::size_t Decodes() const { return FDecodes; }

 private:
  struct TStamp {
    std::uint64_t Size = 0;
    std::uint64_t LastWrite = 0;
    std::uint64_t Creation = 0;
    bool operator==(const TStamp&) const = default;
  };
  struct TEntry {
    std::wstring Path;
    TStamp Stamp;
    std::vector<std::uint32_t> Pixels;  // the view's memory
    int Width = 0, Height = 0;
    std::unique_ptr<Gdiplus::Bitmap> View;
    std::size_t Bytes() const { return Pixels.size() * sizeof(std::uint32_t); }
  };
  using TList = std::list<TEntry>;

  static bool ReadStamp(const std::wstring& Path, TStamp& Stamp);
  static void Allocate(TEntry& Entry, int Width, int Height);
  void Insert(TEntry&& Entry);
  static bool Decode(const std::wstring& Path, TEntry& Entry);
  void Remove(TList::iterator Entry);
  void Trim();

  TLimits FLimits;
  TList FEntries;  // most recently used first
  std::unordered_map<std::wstring, TList::iterator> FIndex;
  std::size_t FBytes = 0;
  std::size_t FDecodes = 0;
};

// The module's cache.
TSkinImageCache& SkinImages();
