#include "ZipBuilder.h"

#include <zlib.h>

#include <stdexcept>

namespace {

void U16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void U32(std::string& out, std::uint32_t v) {
  U16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  U16(out, static_cast<std::uint16_t>(v >> 16));
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

std::string RawDeflate(const std::string& Data, int Level) {
  z_stream z{};
  if (deflateInit2(&z, Level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&z, static_cast<uLong>(Data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
  z.avail_in = static_cast<uInt>(Data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TZipImage BuildZipImage(const std::vector<TZipSpec>& Entries, const std::string& Comment) {
  TZipImage image;
  std::string central;
  for (const auto& e : Entries) {
    const std::string packed = e.Method == 8 ? RawDeflate(e.Data) : e.Data;
    const std::uint32_t crc = e.Crc.value_or(
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(e.Data.data()), static_cast<uInt>(e.Data.size()))));
    const std::uint32_t size = e.UncompressedSize.value_or(static_cast<std::uint32_t>(e.Data.size()));
    const std::string& localName = e.LocalName ? *e.LocalName : e.Name;
    const std::size_t offset = image.Bytes.size();
    image.LocalOffsets.push_back(offset);
    std::string& out = image.Bytes;
    U32(out, 0x04034b50);
    U16(out, 20);
    U16(out, e.Flags);
    U16(out, e.Method);
    U16(out, e.DosTime);
    U16(out, e.DosDate);
    U32(out, crc);
    U32(out, static_cast<std::uint32_t>(packed.size()));
    U32(out, size);
    U16(out, static_cast<std::uint16_t>(localName.size()));
    U16(out, 0);
    out += localName;
    out += packed;

    image.CentralOffsets.push_back(central.size());
    U32(central, 0x02014b50);
    U16(central, e.MadeBy);
    U16(central, 20);
    U16(central, e.Flags);
    U16(central, e.Method);
    U16(central, e.DosTime);
    U16(central, e.DosDate);
    U32(central, crc);
    U32(central, static_cast<std::uint32_t>(packed.size()));
    U32(central, size);
    U16(central, static_cast<std::uint16_t>(e.Name.size()));
    U16(central, 0);
    U16(central, 0);
    U16(central, 0);
    U16(central, 0);
    U32(central, e.External);
    U32(central, static_cast<std::uint32_t>(offset));
    central += e.Name;
  }
  image.DirectoryOffset = image.Bytes.size();
  for (auto& at : image.CentralOffsets) at += image.DirectoryOffset;
  image.Bytes += central;
  image.EndOffset = image.Bytes.size();
  std::string& out = image.Bytes;
  U32(out, 0x06054b50);
  U16(out, 0);
  U16(out, 0);
  U16(out, static_cast<std::uint16_t>(Entries.size()));
  U16(out, static_cast<std::uint16_t>(Entries.size()));
  U32(out, static_cast<std::uint32_t>(central.size()));
  U32(out, static_cast<std::uint32_t>(image.DirectoryOffset));
  U16(out, static_cast<std::uint16_t>(Comment.size()));
  out += Comment;
  return image;
}
