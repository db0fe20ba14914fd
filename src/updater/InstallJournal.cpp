#include "InstallJournal.h"

#include <charconv>

#include "Utf8Text.h"
#include "ZipEntryCheck.h"

namespace {

constexpr std::string_view kMagic = "RenewaJournal 1";

// A path the journal may name: plain and relative, as the archive's names are.
bool PlainPath(const std::wstring& Text) { return CheckEntryName(Text) == TEntryNameFault::None && !IsDirectoryName(Text); }

bool ReadCount(std::string_view Text, std::size_t& Value) {
  const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return error == std::errc() && end == Text.data() + Text.size();
}

}  // namespace

std::string JournalHeader(const TInstallJournal& Journal) {
  std::string text = std::string(kMagic) + "\n";
  text += "backup " + EncodeUtf8(Journal.BackupDir) + "\n";
  text += "temp " + EncodeUtf8(Journal.TempSuffix) + "\n";
  for (const auto& dir : Journal.MadeDirs) text += "dir " + EncodeUtf8(dir) + "\n";
  for (const auto& file : Journal.Files) text += std::string(file.Existed ? "file 1 " : "file 0 ") + EncodeUtf8(file.Name) + "\n";
  text += "begin\n";
  return text;
}

std::string JournalPlacedLine(std::size_t Placed) { return "placed " + std::to_string(Placed) + "\n"; }

std::string JournalCommitLine() { return "commit\n"; }

bool ParseJournal(std::string_view Text, TInstallJournal& Journal) {
  Journal = {};
  bool begun = false, hasBackup = false, hasTemp = false;
  std::size_t line = 0;
  while (!Text.empty()) {
    const std::size_t end = Text.find('\n');
    if (end == std::string_view::npos) break;  // torn: never finished writing
    const std::string_view record = Text.substr(0, end);
    Text.remove_prefix(end + 1);
    if (line++ == 0) {
      if (record != kMagic) return false;
      continue;
    }
    const std::size_t space = record.find(' ');
    const std::string_view key = record.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? std::string_view() : record.substr(space + 1);
    std::wstring text;
    if (!begun) {
      if (key == "begin" && value.empty()) {
        begun = true;
      } else if (key == "backup" && DecodeUtf8Strict(value, text) && PlainPath(text)) {
        Journal.BackupDir = text;
        hasBackup = true;
      } else if (key == "temp" && DecodeUtf8Strict(value, text) && !text.empty() &&
                 text.find_first_of(L"\\/:") == std::wstring::npos) {
        Journal.TempSuffix = text;
        hasTemp = true;
      } else if (key == "dir" && DecodeUtf8Strict(value, text) && PlainPath(text)) {
        Journal.MadeDirs.push_back(text);
      } else if (key == "file" && value.size() > 2 && (value[0] == '0' || value[0] == '1') && value[1] == ' ' &&
                 DecodeUtf8Strict(value.substr(2), text) && PlainPath(text)) {
        Journal.Files.push_back({text, value[0] == '1'});
      } else {
        return false;
      }
      continue;
    }
    std::size_t placed = 0;
    if (key == "placed" && ReadCount(value, placed) && placed == Journal.Placed + 1 && placed <= Journal.Files.size())
      Journal.Placed = placed;
    else if (key == "commit" && value.empty())
      Journal.Committed = true;
    else
      return false;
  }
  // Without its whole header the run had not touched the installation yet.
  return line > 0 && begun && hasBackup && hasTemp;
}
