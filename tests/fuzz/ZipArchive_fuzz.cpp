// libFuzzer target for the archive reader: every entry the reader accepts is written into
// a sink that aborts if its path would leave the destination root or exceed its size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "ZipEntryCheck.h"
#include "ZipInflate.h"

namespace {

constexpr wchar_t kRoot[] = L"C:\\Root";
constexpr std::uint64_t kMaxTotal = 64u << 20;  // keeps each input quick

[[noreturn]] void Violation(const char* What) {
  std::fprintf(stderr, "sink violation: %s\n", What);
  std::abort();
}

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return i == a.size() && !b[i];
}

// An independent reading of a Windows path: where it resolves, component by component.
void CheckInsideRoot(const std::wstring& Path) {
  const std::wstring prefix = std::wstring(kRoot) + L"\\";
  if (Path.compare(0, prefix.size(), prefix) != 0) Violation("path does not start at the root");
  std::vector<std::wstring> parts;
  std::wstring part;
  for (std::size_t i = prefix.size(); i <= Path.size(); ++i) {
    if (i == Path.size() || Path[i] == L'\\' || Path[i] == L'/') {
      if (part == L"..") {
        if (parts.empty()) Violation("path climbs above the root");
        parts.pop_back();
      } else if (!part.empty() && part != L".") {
        parts.push_back(part);
      }
      part.clear();
    } else {
      part += Path[i];
    }
  }
  if (parts.empty()) Violation("path is the root itself");
  for (const auto& p : parts) {
    if (p.find(L':') != std::wstring::npos) Violation("stream or drive in path");
    if (p.back() == L'.' || p.back() == L' ') Violation("component Windows would rename");
    std::wstring base = p.substr(0, p.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"COM1", L"LPT1"})
      if (EqualsNoCase(base, device)) Violation("device name in path");
    for (const wchar_t c : p)
      if (c < 0x20) Violation("control character in path");
  }
}

class TCheckingSink final : public IZipSink {
 public:
  TCheckingSink(const TZipEntry& Entry) : FEntry(Entry) { CheckInsideRoot(EntryTargetPath(kRoot, Entry.Name)); }
  void Write(const std::uint8_t* Data, std::size_t Size) override {
    if (Size == 0 || Data == nullptr) Violation("empty write");
    FWritten += Size;
    if (FWritten > FEntry.UncompressedSize) Violation("write past the declared size");
  }

 private:
  const TZipEntry& FEntry;
  std::uint64_t FWritten = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    const TZipArchive archive({Data, Size});
    if (archive.TotalUncompressedSize() > kMaxTotal) return 0;
    for (const auto& entry : archive.Entries()) {
      TCheckingSink sink(entry);
      if (entry.IsDirectory) continue;
      std::uint64_t last = 0;
      InflateEntry(archive, entry, sink, [&](std::uint64_t written) {
        if (written < last || written > entry.UncompressedSize) Violation("progress out of range");
        last = written;
        if (EntryPercent(written, entry.UncompressedSize) > 100) Violation("percent above 100");
      });
    }
  } catch (const EZipError&) {
    // Refused archives are the expected outcome for most inputs.
  }
  return 0;
}
