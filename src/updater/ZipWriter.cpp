#include "ZipWriter.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace {

void U16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void U32(std::string& out, std::uint32_t v) {
  U16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  U16(out, static_cast<std::uint16_t>(v >> 16));
}

constexpr std::uint64_t kLimit32 = std::numeric_limits<std::uint32_t>::max();

// The run of fields a local header and its central record both carry, from "version needed"
// to the name's length; the two headers may name the entry differently.
void SharedHeaderFields(std::string& Out, const TZipRecord& e, const std::string& Name) {
  U16(Out, 20);
  U16(Out, e.Flags);
  U16(Out, e.Method);
  U16(Out, e.DosTime);
  U16(Out, e.DosDate);
  U32(Out, e.Crc32);
  U32(Out, static_cast<std::uint32_t>(e.Packed.size()));
  U32(Out, e.UncompressedSize);
  U16(Out, static_cast<std::uint16_t>(Name.size()));
}

}  // namespace

void PutU16(std::string& Bytes, std::size_t At, std::uint16_t Value) {
  Bytes[At] = static_cast<char>(Value & 0xFF);
  Bytes[At + 1] = static_cast<char>(Value >> 8);
}
void PutU32(std::string& Bytes, std::size_t At, std::uint32_t Value) {
  PutU16(Bytes, At, static_cast<std::uint16_t>(Value & 0xFFFF));
  PutU16(Bytes, At + 2, static_cast<std::uint16_t>(Value >> 16));
}

std::string RawDeflate(std::string_view Data, int Level) {
  if (Data.size() > kLimit32) throw EZipWriteError("entry too large for a ZIP archive without ZIP64");
  z_stream z{};
  if (deflateInit2(&z, Level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw EZipWriteError("deflate cannot start");
  std::string out(deflateBound(&z, static_cast<uLong>(Data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
  z.avail_in = static_cast<uInt>(Data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw EZipWriteError("deflate failed");
  return out;
}

std::uint32_t Crc32Of(std::string_view Data) {
  uLong crc = crc32(0, nullptr, 0);
  for (std::size_t at = 0; at < Data.size();) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(Data.size() - at, 1u << 30));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(Data.data() + at), n);
    at += n;
  }
  return static_cast<std::uint32_t>(crc);
}

TZipRecord MakeZipRecord(std::string Utf8Name, std::string_view Data, std::uint32_t Attributes,
                         std::uint16_t DosTime, std::uint16_t DosDate) {
  TZipRecord r;
  const bool directory = (Attributes & 0x10) != 0;
  r.Method = directory || Data.empty() ? 0 : 8;
  r.Packed = r.Method == 8 ? RawDeflate(Data) : std::string(Data);
  r.Crc32 = Crc32Of(Data);
  if (Data.size() > kLimit32) throw EZipWriteError("entry too large for a ZIP archive without ZIP64");
  r.UncompressedSize = static_cast<std::uint32_t>(Data.size());
  for (const char c : Utf8Name)
    if (static_cast<unsigned char>(c) >= 0x80) r.Flags |= kZipFlagUtf8;
  r.Name = std::move(Utf8Name);
  r.External = Attributes & 0xFF;
  r.DosTime = DosTime;
  r.DosDate = DosDate;
  return r;
}

void TZipWriter::Add(const TZipRecord& e) {
  if (FLocalOffsets.size() >= 0xFFFF) throw EZipWriteError("more entries than a ZIP archive without ZIP64 holds");
  const std::string& localName = e.LocalName.empty() ? e.Name : e.LocalName;
  if (e.Name.size() > 0xFFFF || localName.size() > 0xFFFF) throw EZipWriteError("entry name too long");
  const std::size_t offset = FBytes.size();
  if (offset + 30 + localName.size() + e.Packed.size() > kLimit32)
    throw EZipWriteError("archive too large without ZIP64");
  FLocalOffsets.push_back(offset);
  U32(FBytes, 0x04034b50);
  SharedHeaderFields(FBytes, e, localName);
  U16(FBytes, 0);
  FBytes += localName;
  FBytes += e.Packed;

  FCentralStarts.push_back(FCentral.size());
  U32(FCentral, 0x02014b50);
  U16(FCentral, e.MadeBy);
  SharedHeaderFields(FCentral, e, e.Name);
  U16(FCentral, 0);  // extra field
  U16(FCentral, 0);  // comment
  U16(FCentral, 0);  // disk
  U16(FCentral, 0);  // internal attributes
  U32(FCentral, e.External);
  U32(FCentral, static_cast<std::uint32_t>(offset));
  FCentral += e.Name;
}

std::vector<std::size_t> TZipWriter::CentralOffsets() const {
  std::vector<std::size_t> offsets = FCentralStarts;
  for (auto& at : offsets) at += FDirectoryOffset;
  return offsets;
}

std::string TZipWriter::Finish(std::string_view Comment) {
  if (FBytes.size() + FCentral.size() + 22 + Comment.size() > kLimit32 || Comment.size() > 0xFFFF)
    throw EZipWriteError("archive too large without ZIP64");
  FDirectoryOffset = FBytes.size();
  FBytes += FCentral;
  FEndOffset = FBytes.size();
  const auto count = static_cast<std::uint16_t>(FLocalOffsets.size());
  U32(FBytes, 0x06054b50);
  U16(FBytes, 0);
  U16(FBytes, 0);
  U16(FBytes, count);
  U16(FBytes, count);
  U32(FBytes, static_cast<std::uint32_t>(FCentral.size()));
  U32(FBytes, static_cast<std::uint32_t>(FDirectoryOffset));
  U16(FBytes, static_cast<std::uint16_t>(Comment.size()));
  FBytes += Comment;
  return std::move(FBytes);
}
