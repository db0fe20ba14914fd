// Reading a ZIP archive held in memory: end record, central directory and local headers,
// with every structural and name check made before anything is extracted. Portable.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

enum class TZipFault {
  NotAnArchive,   // no end record: not a ZIP file at all, or cut short
  Unsupported,    // multi-disk, ZIP64, encryption, methods other than stored and deflate
  BadStructure,   // central directory or local headers that do not add up
  Overlap,        // two entries share bytes, or an entry runs into the directory
  UnsafeName,     // an entry would land outside the destination or on a device
  DuplicateName,  // two entries for one path (also a file where a directory is)
  DataError,      // data that does not inflate to the declared size and CRC-32
  TooLarge,       // beyond a ceiling: entries, sizes, compression ratio, name length or depth
};

class EZipError : public std::runtime_error {
 public:
  EZipError(TZipFault Fault, const std::string& What) : std::runtime_error(What), FFault(Fault) {}
  TZipFault Fault() const { return FFault; }

 private:
  TZipFault FFault;
};

// FILE_ATTRIBUTE_* values that an entry may carry onto disk.
inline constexpr std::uint32_t kZipAttrReadOnly = 0x01;
inline constexpr std::uint32_t kZipAttrHidden = 0x02;
inline constexpr std::uint32_t kZipAttrSystem = 0x04;
inline constexpr std::uint32_t kZipAttrDirectory = 0x10;
inline constexpr std::uint32_t kZipAttrArchive = 0x20;

inline constexpr std::uint16_t kZipStored = 0;
inline constexpr std::uint16_t kZipDeflated = 8;

struct TZipEntry {
  std::wstring Name;  // as stored, '/' or '\' separators, checked
  bool IsDirectory = false;
  std::uint16_t Method = kZipStored;
  std::uint16_t Flags = 0;
  std::uint32_t Crc32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UncompressedSize = 0;
  std::uint16_t DosTime = 0;
  std::uint16_t DosDate = 0;
  std::uint32_t Attributes = 0;  // kZipAttr* bits
  std::uint32_t LocalHeaderOffset = 0;
  std::uint64_t DataOffset = 0;
};

#ifndef RENEWA_MAX_UNPACKED_MIB
#define RENEWA_MAX_UNPACKED_MIB 512
#endif

// Ceilings an update archive stays under, checked from its central directory alone.
struct TZipLimits {
  std::uint32_t Entries = 10000;
  std::uint64_t EntrySize = std::uint64_t{RENEWA_MAX_UNPACKED_MIB} << 20;  // uncompressed, one entry
  std::uint64_t TotalSize = std::uint64_t{RENEWA_MAX_UNPACKED_MIB} << 20;  // uncompressed, all entries
  std::uint32_t Ratio = 200;                   // uncompressed : compressed, for entries above RatioFloor
  std::uint64_t RatioFloor = 1u << 20;         // smaller entries may compress as well as they like
  std::size_t NameLength = 1024;               // UTF-16 units of a stored name
  std::size_t Depth = 32;                      // components of a stored name
};

// Orders two names (with '\' separators) as the file system tells them apart: negative,
// 0 (the same file) or positive. The default folds the ASCII letters only; the updater
// passes the platform's own case folding.
using TNameOrder = std::function<int(std::wstring_view, std::wstring_view)>;

// Turns a stored name that is not flagged UTF-8 into text; false refuses the name.
// The default reads such names as Latin-1 (the Windows shell passes its code page).
using TNameDecoder = std::function<bool(std::string_view Raw, std::wstring& Out)>;

class TZipArchive {
 public:
  // Checks the whole structure, the ceilings and every name, in time linear in the archive
  // (names are bounded); throws EZipError. Bytes must outlive this.
  explicit TZipArchive(std::span<const std::uint8_t> Bytes, const TNameDecoder& Decoder = {},
                       const TNameOrder& Order = {}, const TZipLimits& Limits = {});

  const std::vector<TZipEntry>& Entries() const { return FEntries; }
  std::span<const std::uint8_t> CompressedData(const TZipEntry& Entry) const;
  std::uint64_t TotalUncompressedSize() const { return FTotalSize; }

 private:
  std::span<const std::uint8_t> FBytes;
  std::vector<TZipEntry> FEntries;
  std::uint64_t FTotalSize = 0;
};

