// An entry's data, stored or deflated, decompressed into a sink: never more than its
// declared size, and the CRC-32 checked at the end. Portable (zlib).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "ZipArchive.h"

class IZipSink {
 public:
  // Takes the next block of the entry's data; throws when it cannot be written.
  virtual void Write(const std::uint8_t* Data, std::size_t Size) = 0;

 protected:
  ~IZipSink() = default;
};

// Discards what it is given (the check before anything is written).
class TNullZipSink final : public IZipSink {
 public:
  void Write(const std::uint8_t*, std::size_t) override {}
};

// Called after each block with the entry's bytes written so far; may throw to stop.
using TZipBlockHook = std::function<void(std::uint64_t Written)>;

// At most this much compressed data is taken between two calls of the hook.
inline constexpr std::size_t kZipBlockSize = 32 * 1024;

// Throws EZipError(DataError) when the data does not decompress to exactly the declared
// size with the stored CRC-32; what the sink got by then is to be discarded.
void InflateEntry(const TZipArchive& Archive, const TZipEntry& Entry, IZipSink& Sink, const TZipBlockHook& Hook = {});

// Decompresses every entry into nothing: the archive is sound when this returns.
void VerifyArchive(const TZipArchive& Archive, const TZipBlockHook& Hook = {});

// min(100, round(Written * 100 / Size)); 0 for an empty entry.
std::int32_t EntryPercent(std::uint64_t Written, std::uint64_t Size);
