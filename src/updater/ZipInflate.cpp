#include "ZipInflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

[[noreturn]] void DataError(const char* What) { throw EZipError(TZipFault::DataError, What); }

class TInflater {
 public:
  TInflater() {
    if (inflateInit2(&FStream, -MAX_WBITS) != Z_OK) DataError("inflate cannot start");
  }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  ~TInflater() { inflateEnd(&FStream); }
  z_stream& Stream() { return FStream; }

 private:
  z_stream FStream{};
};

class TCountingWriter {
 public:
  TCountingWriter(const TZipEntry& Entry, IZipSink& Sink) : FEntry(Entry), FSink(Sink) {}
  void Write(const std::uint8_t* Data, std::size_t Size) {
    if (Size > FEntry.UncompressedSize - FWritten) DataError("entry data larger than declared");
    FCrc = crc32(FCrc, Data, static_cast<uInt>(Size));
    FSink.Write(Data, Size);
    FWritten += Size;
  }
  std::uint64_t Written() const { return FWritten; }
  void Finish() const {
    if (FWritten != FEntry.UncompressedSize) DataError("entry data smaller than declared");
    if (FCrc != FEntry.Crc32) DataError("CRC-32 mismatch");
  }

 private:
  const TZipEntry& FEntry;
  IZipSink& FSink;
  std::uint64_t FWritten = 0;
  uLong FCrc = crc32(0, nullptr, 0);
};

void Stored(std::span<const std::uint8_t> Data, TCountingWriter& Out, const TZipBlockHook& Hook) {
  for (std::size_t at = 0; at < Data.size(); at += kZipBlockSize) {
    const std::size_t n = std::min(kZipBlockSize, Data.size() - at);
    Out.Write(Data.data() + at, n);
    if (Hook) Hook(Out.Written());
  }
}

void Deflated(std::span<const std::uint8_t> Data, TCountingWriter& Out, const TZipBlockHook& Hook) {
  TInflater inflater;
  z_stream& z = inflater.Stream();
  auto buffer = std::make_unique<std::array<std::uint8_t, 64 * 1024>>();
  std::size_t at = 0;
  bool ended = false;
  while (!ended) {
    if (at == Data.size()) DataError("deflate data ends early");
    const std::size_t n = std::min(kZipBlockSize, Data.size() - at);
    z.next_in = const_cast<Bytef*>(Data.data() + at);
    z.avail_in = static_cast<uInt>(n);
    do {
      z.next_out = buffer->data();
      z.avail_out = static_cast<uInt>(buffer->size());
      const int rc = inflate(&z, Z_NO_FLUSH);
      if (rc == Z_STREAM_END) {
        ended = true;
      } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
        DataError("deflate data corrupt");
      }
      const std::size_t produced = buffer->size() - z.avail_out;
      if (produced) Out.Write(buffer->data(), produced);
      if (rc == Z_BUF_ERROR && produced == 0) break;  // needs the next block
    } while (!ended && z.avail_out == 0);
    at += n - z.avail_in;
    if (ended && at != Data.size()) DataError("data after the end of the deflate stream");
    if (!ended && z.avail_in != 0) DataError("deflate data corrupt");
    if (Hook) Hook(Out.Written());
  }
}

}  // namespace

void InflateEntry(const TZipArchive& Archive, const TZipEntry& Entry, IZipSink& Sink, const TZipBlockHook& Hook) {
  TCountingWriter out(Entry, Sink);
  const auto data = Archive.CompressedData(Entry);
  if (Entry.Method == kZipStored)
    Stored(data, out, Hook);
  else
    Deflated(data, out, Hook);
  out.Finish();
}

void VerifyArchive(const TZipArchive& Archive, const TZipBlockHook& Hook) {
  TNullZipSink sink;
  for (const auto& entry : Archive.Entries())
    if (!entry.IsDirectory) InflateEntry(Archive, entry, sink, Hook);
}

std::int32_t EntryPercent(std::uint64_t Written, std::uint64_t Size) {
  if (Size == 0) return 0;
  const auto percent = std::llround(static_cast<double>(Written) * 100.0 / static_cast<double>(Size));
  return static_cast<std::int32_t>(std::min<long long>(100, percent));
}
