// Writes ZIP archives the updater reads: local headers with their data, then the central
// directory and its end record. No ZIP64: an archive beyond its limits is refused. Portable
// (zlib). The publishing tool writes update archives with it; tests write faulty ones.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::uint16_t kZipFlagUtf8 = 0x0800;

// One entry exactly as both of its headers describe it.
struct TZipRecord {
  std::string Name;       // bytes as stored in the central directory
  std::string LocalName;  // bytes in the local header; the same as Name when empty
  std::string Packed;     // the data as stored (compressed for deflate)
  std::uint16_t Method = 8;
  std::uint16_t Flags = 0;
  std::uint16_t MadeBy = 0x0014;  // host 0: DOS attributes in the low byte of External
  std::uint16_t DosTime = 0;
  std::uint16_t DosDate = 0;
  std::uint32_t Crc32 = 0;
  std::uint32_t UncompressedSize = 0;
  std::uint32_t External = 0x20;
};

class EZipWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TZipWriter {
 public:
  // Appends the entry's local header and data; throws EZipWriteError past 65535 entries or
  // 4 GiB, which need ZIP64.
  void Add(const TZipRecord& Record);
  // Appends the central directory and the end record and hands over the archive.
  std::string Finish(std::string_view Comment = {});

  // Where the pieces went (tests corrupt them in place).
  const std::vector<std::size_t>& LocalOffsets() const { return FLocalOffsets; }
  std::vector<std::size_t> CentralOffsets() const;
  std::size_t DirectoryOffset() const { return FDirectoryOffset; }
  std::size_t EndOffset() const { return FEndOffset; }

 private:
  std::string FBytes;
  std::string FCentral;
  std::vector<std::size_t> FLocalOffsets;
  std::vector<std::size_t> FCentralStarts;  // within FCentral
  std::size_t FDirectoryOffset = 0;
  std::size_t FEndOffset = 0;
};

std::string RawDeflate(std::string_view Data, int Level = 6);
std::uint32_t Crc32Of(std::string_view Data);

// A file or directory entry made from its contents: deflated (stored when empty or a
// directory), the name flagged UTF-8 when it is not plain ASCII.
TZipRecord MakeZipRecord(std::string Utf8Name, std::string_view Data, std::uint32_t Attributes,
                         std::uint16_t DosTime, std::uint16_t DosDate);

void PutU16(std::string& Bytes, std::size_t At, std::uint16_t Value);
void PutU32(std::string& Bytes, std::size_t At, std::uint32_t Value);
