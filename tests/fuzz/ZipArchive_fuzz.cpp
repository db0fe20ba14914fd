// libFuzzer target for the archive reader: every entry the reader accepts is written into
// a sink that aborts if its path would leave the destination root or exceed its size; an
// accepted archive must keep every ceiling and hold no two names that fold alike. The
// same bytes go through the installation journal's reader too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include <set>

#include "InstallJournal.h"
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

std::wstring Folded(std::wstring_view Name) {
  std::wstring out(Name);
  for (auto& c : out) c = static_cast<wchar_t>(c == L'/' ? L'\\' : std::towupper(c));
  if (!out.empty() && out.back() == L'\\') out.pop_back();
  return out;
}

// The order the reader is given: folded as towupper folds, beyond ASCII.
int FoldedOrder(std::wstring_view A, std::wstring_view B) { return Folded(A).compare(Folded(B)); }

void CheckCeilings(const TZipArchive& Archive) {
  const TZipLimits limits;
  if (Archive.Entries().size() > limits.Entries) Violation("too many entries accepted");
  if (Archive.TotalUncompressedSize() > limits.TotalSize) Violation("total size above the ceiling accepted");
  std::set<std::wstring> files, dirs;
  for (const auto& e : Archive.Entries()) {
    if (e.UncompressedSize > limits.EntrySize) Violation("entry above the ceiling accepted");
    if (e.UncompressedSize > limits.RatioFloor && e.UncompressedSize > std::uint64_t{e.CompressedSize} * limits.Ratio)
      Violation("entry beyond the ratio accepted");
    if (e.Name.size() > limits.NameLength) Violation("name too long accepted");
    std::size_t depth = 1;
    for (std::size_t i = 0; i + 1 < e.Name.size(); ++i) depth += (e.Name[i] == L'/' || e.Name[i] == L'\\');
    if (depth > limits.Depth) Violation("name too deep accepted");
    const std::wstring folded = Folded(e.Name);
    if (files.count(folded) || (!e.IsDirectory && dirs.count(folded))) Violation("names that fold alike accepted");
    (e.IsDirectory ? dirs : files).insert(folded);
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
  TInstallJournal journal;
  if (ParseJournal({reinterpret_cast<const char*>(Data), Size}, journal) && journal.Placed > journal.Files.size())
    Violation("journal with more replacements than files");
  try {
    const TZipArchive archive({Data, Size}, {}, FoldedOrder);
    CheckCeilings(archive);
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
