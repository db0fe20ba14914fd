// The journal of an installation run, kept in "Update\" so that a run stopped dead (killed,
// logged off, power lost) can be undone or finished at the next start. Portable: the text
// of the journal and what it says; the shell does the file work.
//
// The header names every file the run will place and every directory it makes, before
// anything is written; one "placed" line follows each replacement, "commit" the last one.
// A line counts only with its line end, so a torn last line is as if never written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TJournalFile {
  std::wstring Name;     // relative to the destination, '\' separators
  bool Existed = false;  // a previous version was there, kept in the backup folder
};

struct TInstallJournal {
  std::wstring BackupDir;   // relative to the destination
  std::wstring TempSuffix;  // each new file is written to its target's name plus this first
  std::vector<std::wstring> MadeDirs;  // relative, in the order they are made
  std::vector<TJournalFile> Files;     // in the order they are placed
  std::size_t Placed = 0;   // replacements done
  bool Committed = false;

  // Every file is in place: the run is to be finished, not undone.
  bool Complete() const { return Committed || Placed >= Files.size(); }
};

// UTF-8 text of the header (everything but the progress lines).
std::string JournalHeader(const TInstallJournal& Journal);
std::string JournalPlacedLine(std::size_t Placed);
std::string JournalCommitLine();

// False when Text is no journal of this kind, or names a path that is not plain and
// relative (nothing is to be trusted then).
bool ParseJournal(std::string_view Text, TInstallJournal& Journal);
