#include "ZipArchive.h"

#include <algorithm>

#include "Utf8Text.h"
#include "ZipEntryCheck.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kMaxComment = 0xFFFF;

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDescriptor = 0x0008;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
constexpr std::uint16_t kFlagUtf8 = 0x0800;

[[noreturn]] void Fail(TZipFault Fault, const std::string& What) { throw EZipError(Fault, What); }

class TReader {
 public:
  TReader(std::span<const std::uint8_t> Bytes, std::uint64_t At) : FBytes(Bytes), FAt(At) {}
  bool Has(std::uint64_t Count) const { return FAt <= FBytes.size() && Count <= FBytes.size() - FAt; }
  std::uint16_t U16() {
    const std::uint16_t v = static_cast<std::uint16_t>(FBytes[FAt] | (FBytes[FAt + 1] << 8));
    FAt += 2;
    return v;
  }
  std::uint32_t U32() {
    const std::uint32_t v = static_cast<std::uint32_t>(FBytes[FAt]) | (static_cast<std::uint32_t>(FBytes[FAt + 1]) << 8) |
                            (static_cast<std::uint32_t>(FBytes[FAt + 2]) << 16) |
                            (static_cast<std::uint32_t>(FBytes[FAt + 3]) << 24);
    FAt += 4;
    return v;
  }
  std::string_view Text(std::size_t Count) {
    const std::string_view v(reinterpret_cast<const char*>(FBytes.data() + FAt), Count);
    FAt += Count;
    return v;
  }
  void Skip(std::uint64_t Count) { FAt += Count; }
  std::uint64_t At() const { return FAt; }

 private:
  std::span<const std::uint8_t> FBytes;
  std::uint64_t FAt;
};

std::uint64_t FindEndRecord(std::span<const std::uint8_t> Bytes) {
  if (Bytes.size() < kEndSize) Fail(TZipFault::NotAnArchive, "too short for a ZIP archive");
  const std::uint64_t lowest = Bytes.size() > kEndSize + kMaxComment ? Bytes.size() - kEndSize - kMaxComment : 0;
  for (std::uint64_t at = Bytes.size() - kEndSize + 1; at-- > lowest;) {
    TReader r(Bytes, at);
    if (r.U32() != kEndSignature) continue;
    r.Skip(16);
    // The comment must reach exactly to the end of the file, so a signature that merely
    // occurs inside data or the comment is not taken for the record.
    if (at + kEndSize + r.U16() == Bytes.size()) return at;
  }
  Fail(TZipFault::NotAnArchive, "no end of central directory record");
}

// DOS attributes from the host system that made the entry.
std::uint32_t EntryAttributes(std::uint16_t MadeBy, std::uint32_t External, bool IsDirectory) {
  const unsigned host = MadeBy >> 8;
  std::uint32_t attributes = 0;
  if (host == 3 || host == 19) {  // Unix, OS X: permission bits in the high word
    const std::uint32_t mode = External >> 16;
    if (mode != 0 && !(mode & 0200)) attributes |= kZipAttrReadOnly;
    attributes |= External & (kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem | kZipAttrArchive);
  } else {
    attributes = External & (kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem | kZipAttrArchive);
  }
  if (IsDirectory) attributes = (attributes & ~kZipAttrArchive) | kZipAttrDirectory;
  return attributes;
}

int CompareFoldedAscii(std::wstring_view A, std::wstring_view B) {
  auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  const std::size_t n = std::min(A.size(), B.size());
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t a = fold(A[i]), b = fold(B[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

// No two entries for one file as the file system tells names apart (a directory may be
// listed twice), and no file where another entry needs a directory.
void CheckPathsDistinct(const std::vector<TZipEntry>& Entries, const TNameOrder& Order) {
  struct TPath {
    std::wstring Name;
    bool IsDirectory;
  };
  std::vector<TPath> paths;
  paths.reserve(Entries.size());
  for (const auto& e : Entries) paths.push_back({NormalizeEntryName(e.Name), e.IsDirectory});
  std::sort(paths.begin(), paths.end(), [&](const TPath& a, const TPath& b) { return Order(a.Name, b.Name) < 0; });
  for (std::size_t i = 1; i < paths.size(); ++i)
    if (Order(paths[i - 1].Name, paths[i].Name) == 0 && !(paths[i - 1].IsDirectory && paths[i].IsDirectory))
      Fail(TZipFault::DuplicateName, "two entries for one path");
  // Every parent of an entry must be free to become a directory.
  for (const auto& path : paths) {
    const std::wstring_view name = path.Name;
    for (std::size_t at = name.find(L'\\'); at != std::wstring_view::npos; at = name.find(L'\\', at + 1)) {
      const std::wstring_view parent = name.substr(0, at);
      const auto found = std::lower_bound(paths.begin(), paths.end(), parent,
                                          [&](const TPath& p, std::wstring_view v) { return Order(p.Name, v) < 0; });
      for (auto it = found; it != paths.end() && Order(it->Name, parent) == 0; ++it)
        if (!it->IsDirectory) Fail(TZipFault::DuplicateName, "a file where a directory must be");
    }
  }
}

std::size_t Depth(std::wstring_view Name) {
  std::size_t components = 1;
  for (std::size_t i = 0; i + 1 < Name.size(); ++i)
    if (Name[i] == L'/' || Name[i] == L'\\') ++components;
  return components;
}

bool DecodeLatin1(std::string_view Raw, std::wstring& Out) {
  Out.clear();
  for (const char c : Raw) Out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return true;
}

}  // namespace

TZipArchive::TZipArchive(std::span<const std::uint8_t> Bytes, const TNameDecoder& Decoder, const TNameOrder& Order,
                         const TZipLimits& Limits)
    : FBytes(Bytes) {
  const std::uint64_t endAt = FindEndRecord(Bytes);
  TReader end(Bytes, endAt + 4);
  const std::uint16_t disk = end.U16();
  const std::uint16_t directoryDisk = end.U16();
  const std::uint16_t entriesHere = end.U16();
  const std::uint16_t entriesTotal = end.U16();
  const std::uint32_t directorySize = end.U32();
  const std::uint32_t directoryOffset = end.U32();
  if (disk != 0 || directoryDisk != 0 || entriesHere != entriesTotal)
    Fail(TZipFault::Unsupported, "archive spans several disks");
  if (entriesTotal == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF)
    Fail(TZipFault::Unsupported, "ZIP64 archive");
  if (std::uint64_t{directoryOffset} + directorySize > endAt)
    Fail(TZipFault::BadStructure, "central directory outside the archive");
  if (entriesTotal > Limits.Entries) Fail(TZipFault::TooLarge, "too many entries");

  TReader central(Bytes, directoryOffset);
  const std::uint64_t directoryEnd = std::uint64_t{directoryOffset} + directorySize;
  FEntries.reserve(entriesTotal);
  for (unsigned n = 0; n < entriesTotal; ++n) {
    if (central.At() + kCentralSize > directoryEnd || central.U32() != kCentralSignature)
      Fail(TZipFault::BadStructure, "central directory entry missing");
    TZipEntry e;
    const std::uint16_t madeBy = central.U16();
    central.Skip(2);  // version needed
    e.Flags = central.U16();
    e.Method = central.U16();
    e.DosTime = central.U16();
    e.DosDate = central.U16();
    e.Crc32 = central.U32();
    e.CompressedSize = central.U32();
    e.UncompressedSize = central.U32();
    const std::uint16_t nameLength = central.U16();
    const std::uint16_t extraLength = central.U16();
    const std::uint16_t commentLength = central.U16();
    const std::uint16_t startDisk = central.U16();
    central.Skip(2);  // internal attributes
    const std::uint32_t external = central.U32();
    e.LocalHeaderOffset = central.U32();
    if (central.At() + nameLength + extraLength + commentLength > directoryEnd)
      Fail(TZipFault::BadStructure, "central directory entry runs past the directory");
    const std::string_view rawName = central.Text(nameLength);
    // Before anything is decoded or compared: bounded names keep every later step linear.
    if (nameLength > Limits.NameLength * 3) Fail(TZipFault::TooLarge, "entry name too long");
    central.Skip(std::uint64_t{extraLength} + commentLength);

    if (startDisk != 0) Fail(TZipFault::Unsupported, "entry on another disk");
    if (e.Flags & (kFlagEncrypted | kFlagStrongEncryption)) Fail(TZipFault::Unsupported, "encrypted entry");
    if (e.Method != kZipStored && e.Method != kZipDeflated) Fail(TZipFault::Unsupported, "compression method");
    if (e.CompressedSize == 0xFFFFFFFF || e.UncompressedSize == 0xFFFFFFFF || e.LocalHeaderOffset == 0xFFFFFFFF)
      Fail(TZipFault::Unsupported, "ZIP64 entry");
    if (e.Method == kZipStored && e.CompressedSize != e.UncompressedSize)
      Fail(TZipFault::BadStructure, "stored entry with two sizes");
    if (e.UncompressedSize > Limits.EntrySize) Fail(TZipFault::TooLarge, "entry too large");
    if (e.UncompressedSize > Limits.RatioFloor && e.UncompressedSize > std::uint64_t{e.CompressedSize} * Limits.Ratio)
      Fail(TZipFault::TooLarge, "entry compressed beyond belief");
    FTotalSize += e.UncompressedSize;
    if (FTotalSize > Limits.TotalSize) Fail(TZipFault::TooLarge, "archive too large");

    const bool utf8 = (e.Flags & kFlagUtf8) != 0 ||
                      std::all_of(rawName.begin(), rawName.end(), [](char c) { return (c & 0x80) == 0; });
    const bool decoded = utf8 ? DecodeUtf8Strict(rawName, e.Name)
                              : (Decoder ? Decoder(rawName, e.Name) : DecodeLatin1(rawName, e.Name));
    if (!decoded) Fail(TZipFault::UnsafeName, "entry name cannot be decoded");
    if (e.Name.size() > Limits.NameLength) Fail(TZipFault::TooLarge, "entry name too long");
    if (Depth(e.Name) > Limits.Depth) Fail(TZipFault::TooLarge, "entry nested too deep");
    if (const auto fault = CheckEntryName(e.Name); fault != TEntryNameFault::None)
      Fail(TZipFault::UnsafeName, std::string("unsafe entry name: ") + EntryNameFaultText(fault));
    e.IsDirectory = IsDirectoryName(e.Name);
    if (e.IsDirectory && e.UncompressedSize != 0) Fail(TZipFault::BadStructure, "directory entry with data");
    e.Attributes = EntryAttributes(madeBy, external, e.IsDirectory);

    // The local header must tell the same story as the directory.
    TReader local(Bytes, e.LocalHeaderOffset);
    if (!local.Has(kLocalSize) || local.U32() != kLocalSignature) Fail(TZipFault::BadStructure, "local header missing");
    local.Skip(2);
    const std::uint16_t localFlags = local.U16();
    const std::uint16_t localMethod = local.U16();
    local.Skip(4);
    const std::uint32_t localCrc = local.U32();
    const std::uint32_t localCompressed = local.U32();
    const std::uint32_t localUncompressed = local.U32();
    const std::uint16_t localNameLength = local.U16();
    const std::uint16_t localExtraLength = local.U16();
    if (localMethod != e.Method || ((localFlags ^ e.Flags) & (kFlagEncrypted | kFlagDescriptor)))
      Fail(TZipFault::BadStructure, "local header disagrees with the directory");
    if (!(e.Flags & kFlagDescriptor) &&
        (localCrc != e.Crc32 || localCompressed != e.CompressedSize || localUncompressed != e.UncompressedSize))
      Fail(TZipFault::BadStructure, "local header sizes disagree with the directory");
    if (!local.Has(std::uint64_t{localNameLength} + localExtraLength) || local.Text(localNameLength) != rawName)
      Fail(TZipFault::BadStructure, "local name disagrees with the directory");
    local.Skip(localExtraLength);
    e.DataOffset = local.At();
    if (e.DataOffset + e.CompressedSize > directoryOffset)
      Fail(TZipFault::Overlap, "entry data runs into the central directory");

    FEntries.push_back(std::move(e));
  }
  if (central.At() != directoryEnd) Fail(TZipFault::BadStructure, "central directory size disagrees with its entries");

  std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
  spans.reserve(FEntries.size());
  for (const auto& e : FEntries) spans.emplace_back(e.LocalHeaderOffset, e.DataOffset + e.CompressedSize);
  std::sort(spans.begin(), spans.end());
  for (std::size_t i = 1; i < spans.size(); ++i)
    if (spans[i].first < spans[i - 1].second) Fail(TZipFault::Overlap, "entries overlap");

  CheckPathsDistinct(FEntries, Order ? Order : TNameOrder(CompareFoldedAscii));
}

std::span<const std::uint8_t> TZipArchive::CompressedData(const TZipEntry& Entry) const {
  return FBytes.subspan(Entry.DataOffset, Entry.CompressedSize);
}
