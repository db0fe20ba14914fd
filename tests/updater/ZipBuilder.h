// Describes small ZIP archives for tests, benchmarks and the fuzz corpus, with knobs to
// make them wrong in one chosen way; the updater's ZipWriter lays them out. Portable (zlib).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ZipWriter.h"

struct TZipSpec {
  std::string Name;  // bytes as stored
  std::string Data;
  std::uint16_t Method = 8;          // 0 stored, 8 deflated
  std::uint16_t MadeBy = 0x0014;     // host 0 (DOS attributes in the low byte)
  std::uint32_t External = 0x20;     // external attributes
  std::uint16_t Flags = 0;
  std::uint16_t DosTime = 0x6000;    // 12:00:00
  std::uint16_t DosDate = 0x5A21;    // 2025-01-01
  std::optional<std::uint32_t> Crc;              // wrong CRC-32 when set
  std::optional<std::uint32_t> UncompressedSize; // wrong declared size when set
  std::optional<std::string> LocalName;          // a local header naming another file
};

struct TZipImage {
  std::string Bytes;
  std::vector<std::size_t> LocalOffsets;
  std::vector<std::size_t> CentralOffsets;
  std::size_t DirectoryOffset = 0;
  std::size_t EndOffset = 0;
};

TZipImage BuildZipImage(const std::vector<TZipSpec>& Entries, const std::string& Comment = {});
inline std::string BuildZip(const std::vector<TZipSpec>& Entries) { return BuildZipImage(Entries).Bytes; }
