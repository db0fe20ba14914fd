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

// Turns a stored name that is not flagged UTF-8 into text; false refuses the name.
// The default reads such names as Latin-1 (the Windows shell passes its code page).
using TNameDecoder = std::function<bool(std::string_view Raw, std::wstring& Out)>;

class TZipArchive {
 public:
  // Checks the whole structure and every name; throws EZipError. Bytes must outlive this.
  explicit TZipArchive(std::span<const std::uint8_t> Bytes, const TNameDecoder& Decoder = {});

  const std::vector<TZipEntry>& Entries() const { return FEntries; }
  std::span<const std::uint8_t> CompressedData(const TZipEntry& Entry) const;
  std::uint64_t TotalUncompressedSize() const { return FTotalSize; }

 private:
  std::span<const std::uint8_t> FBytes;
  std::vector<TZipEntry> FEntries;
  std::uint64_t FTotalSize = 0;
};

