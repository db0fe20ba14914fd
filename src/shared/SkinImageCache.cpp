#include "SkinImageCache.h"

#include <objidl.h>
#include <shlwapi.h>

#include "Handles.h"

namespace {

std::uint64_t Ticks(const FILETIME& Time) {
  return (std::uint64_t{Time.dwHighDateTime} << 32) | Time.dwLowDateTime;
}

// The whole file; false when it cannot be read. Read into memory, so the cached image
// never keeps the file open (a skin author can replace it at any time).
bool ReadFileBytes(const std::wstring& Path, std::string& Bytes) {
  const TKernelHandle file(::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (LONGLONG{256} << 20)) return false;
  Bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  return ::ReadFile(file.get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &got, nullptr) && got == Bytes.size();
}

}  // namespace

TSkinImageCache& SkinImages() {
  // Never freed: its images must not be destroyed after GDI+ has shut down at exit.
  static auto& cache = *new TSkinImageCache();
  return cache;
}

bool TSkinImageCache::ReadStamp(const std::wstring& Path, TStamp& Stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  Stamp.Size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  Stamp.LastWrite = Ticks(data.ftLastWriteTime);
  Stamp.Creation = Ticks(data.ftCreationTime);
  return true;
}

bool TSkinImageCache::Decode(const std::wstring& Path, TEntry& Entry) {
  std::string bytes;
  if (!ReadFileBytes(Path, bytes)) return false;
  IStream* stream = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  if (!stream) return false;
  std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
  const bool ok = decoded && decoded->GetLastStatus() == Gdiplus::Ok && decoded->GetWidth() > 0 &&
                  decoded->GetHeight() > 0;
  if (ok) {
    // Premultiplied 32-bit: what the layered surfaces are, so drawing at 1:1 is a plain blend.
    const int width = static_cast<int>(decoded->GetWidth());
    const int height = static_cast<int>(decoded->GetHeight());
    Entry.Pixels.assign(static_cast<std::size_t>(width) * height, 0);
    Entry.Width = width;
    Entry.Height = height;
    Entry.View.reset();
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = Entry.Pixels.data();
    const Gdiplus::Rect all(0, 0, width, height);
    if (decoded->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                          PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
      decoded->UnlockBits(&data);
      Entry.View = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                     reinterpret_cast<BYTE*>(Entry.Pixels.data()));
    }
  }
  decoded.reset();
  stream->Release();
  return Entry.View != nullptr;
}

Gdiplus::Bitmap* TSkinImageCache::Image(const std::wstring& Path) {
  if (Path.empty()) return nullptr;
  TStamp stamp;
  const bool exists = ReadStamp(Path, stamp);
  const auto found = FIndex.find(Path);
  if (found != FIndex.end()) {
    if (exists && found->second->Stamp == stamp) {
      FEntries.splice(FEntries.begin(), FEntries, found->second);  // most recently used
      return FEntries.front().View.get();
    }
    Remove(found->second);  // changed or gone
  }
  if (!exists) return nullptr;
  TEntry entry;
  entry.Path = Path;
  entry.Stamp = stamp;
  ++FDecodes;
  if (!Decode(Path, entry)) return nullptr;
  Insert(std::move(entry));
  return FEntries.front().View.get();
}

void TSkinImageCache::Allocate(TEntry& Entry, int Width, int Height) {
  Entry.Pixels.assign(static_cast<std::size_t>(Width) * Height, 0);
  Entry.Width = Width;
  Entry.Height = Height;
  Entry.View = std::make_unique<Gdiplus::Bitmap>(Width, Height, Width * 4, PixelFormat32bppPARGB,
                                                 reinterpret_cast<BYTE*>(Entry.Pixels.data()));
}

Gdiplus::Bitmap* TSkinImageCache::Image(const std::wstring& Path, int Width, int Height) {
  Gdiplus::Bitmap* original = Image(Path);
  if (!original || Width <= 0 || Height <= 0 || Width > 16384 || Height > 16384) return original;
  if (static_cast<int>(original->GetWidth()) == Width && static_cast<int>(original->GetHeight()) == Height)
    return original;
  const TStamp stamp = FEntries.front().Stamp;  // the original's, just checked
  const std::wstring key = Path + L'\n' + std::to_wstring(Width) + L'x' + std::to_wstring(Height);
  if (const auto found = FIndex.find(key); found != FIndex.end()) {
    if (found->second->Stamp == stamp) {
      FEntries.splice(FEntries.begin(), FEntries, found->second);
      return FEntries.front().View.get();
    }
    Remove(found->second);
  }
  TEntry scaled;
  scaled.Path = key;
  scaled.Stamp = stamp;
  Allocate(scaled, Width, Height);
  {
    Gdiplus::Graphics graphics(scaled.View.get());
    graphics.DrawImage(original, Gdiplus::Rect(0, 0, Width, Height));
  }
  Insert(std::move(scaled));
  return FEntries.front().View.get();
}

TSkinImageCache::TPixels TSkinImageCache::Pixels(const std::wstring& Path, int Width, int Height) {
  // Every image handed out is the most recently used entry.
  if (!Image(Path, Width, Height)) return {};
  const TEntry& entry = FEntries.front();
  return {entry.Pixels.data(), entry.Width, entry.Height};
}

void TSkinImageCache::Insert(TEntry&& Entry) {
  FBytes += Entry.Bytes();
  FEntries.push_front(std::move(Entry));
  FIndex[FEntries.front().Path] = FEntries.begin();
  Trim();  // the newest entry stays even when it alone is above the byte bound
}

void TSkinImageCache::SetLimits(TLimits Limits) {
  FLimits = Limits;
  Trim();
}

void TSkinImageCache::Remove(TList::iterator Entry) {
  FBytes -= Entry->Bytes();
  FIndex.erase(Entry->Path);
  FEntries.erase(Entry);
}

void TSkinImageCache::Trim() {
  while (FEntries.size() > 1 && (FEntries.size() > FLimits.Entries || FBytes > FLimits.Bytes))
    Remove(std::prev(FEntries.end()));
}
