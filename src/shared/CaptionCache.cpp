#include "CaptionCache.h"

#include <memory>

TCaptionCache& CaptionImages() {
  // Never freed, like the skin images: nothing of GDI+ may outlive its shutdown at exit.
  static auto& cache = *new TCaptionCache();
  return cache;
}

std::wstring TCaptionCache::KeyText(const TKey& Key) {
  // The text last and the face's length first, so no two keys read alike.
  wchar_t numbers[160];
  std::swprintf(numbers, 160, L"%zu|%a|%d|%lu|%d|%d|%d|%d|%d|", Key.Face.size(), static_cast<double>(Key.Size),
                Key.Style, static_cast<unsigned long>(Key.Color), Key.Alignment, Key.LineAlignment, Key.Width,
                Key.Height, Key.Fit ? 1 : 0);
  return numbers + Key.Face + L'|' + Key.Text;
}

TSkinImageCache::TPixels TCaptionCache::Caption(const TKey& Key, const TRender& Render) {
  if (Key.Width <= 0 || Key.Height <= 0 || Key.Width > 16384 || Key.Height > 16384) return {};
  const std::wstring key = KeyText(Key);
  if (const auto found = FIndex.find(key); found != FIndex.end()) {
    FEntries.splice(FEntries.begin(), FEntries, found->second);
  } else {
    TEntry entry;
    entry.Key = key;
    entry.Width = Key.Width;
    entry.Height = Key.Height;
    entry.Pixels.assign(static_cast<std::size_t>(Key.Width) * Key.Height, 0);
    {
      Gdiplus::Bitmap view(Key.Width, Key.Height, Key.Width * 4, PixelFormat32bppPARGB,
                           reinterpret_cast<BYTE*>(entry.Pixels.data()));
      Gdiplus::Graphics graphics(&view);
      Render(graphics);
    }
    ++FRenders;
    FBytes += entry.Pixels.size() * sizeof(std::uint32_t);
    FEntries.push_front(std::move(entry));
    FIndex[key] = FEntries.begin();
    Trim();
  }
  const TEntry& entry = FEntries.front();
  return {entry.Pixels.data(), entry.Width, entry.Height};
}

void TCaptionCache::SetLimits(TLimits Limits) {
  FLimits = Limits;
  Trim();
}

void TCaptionCache::Trim() {
  // The newest entry stays, also when it alone is above the byte bound.
  while (FEntries.size() > 1 && (FEntries.size() > FLimits.Entries || FBytes > FLimits.Bytes)) {
    FBytes -= FEntries.back().Pixels.size() * sizeof(std::uint32_t);
    FIndex.erase(FEntries.back().Key);
    FEntries.pop_back();
  }
}
