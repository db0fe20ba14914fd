// TVCLUnZip: installs an update archive over a directory as one transaction that survives
// the process. The whole archive is checked first (structure, ceilings, names, paths, free
// space, a dry run of every entry). A journal in "Update\" then names every file to place;
// every new file is written and flushed beside its target; only then is each old file
// moved to a backup folder and the new one renamed into place, one journal line each. Any
// failure, cancellation or a later start after a stop midway puts every backup back
// (InstallRecovery), or finishes the run when every file was already in place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "ZipArchive.h"

enum class TUnZipFailure {
  NotAnArchive,  // the file is missing or no ZIP archive at all
  Rejected,      // a ZIP archive that failed a check; nothing was written
  NoSpace,       // the destination disk cannot take it; nothing was written
  RolledBack,    // writing failed part-way; the previous files are back
  Cancelled,     // CancelTheOperation; the previous files are back
  Unauthentic,   // Authenticate refused the archive's bytes; nothing was written
};

class EUnZipError : public std::runtime_error {
 public:
  EUnZipError(TUnZipFailure Failure, const std::string& What) : std::runtime_error(What), FFailure(Failure) {}
  TUnZipFailure Failure() const { return FFailure; }

 private:
  TUnZipFailure FFailure;
};

enum TUZOverwriteMode : std::uint8_t { Prompt, Always, Never, ifNewer, ifOlder };

class TVCLUnZip {
 public:
  std::wstring ZipName;
  void SetDestDir(std::wstring Dir);
  const std::wstring& DestDir() const { return FDestDir; }
  bool DoAll = true;
  bool RecreateDirs = true;
  TUZOverwriteMode OverwriteMode = Always;
  bool ReplaceReadOnly = true;
  bool RetainAttributes = true;
  bool DoProcessMessages = true;

  // Bytes free for Dir; the platform's answer unless replaced (tests simulate a full disk).
  std::function<std::uint64_t(const std::wstring& Dir)> FreeSpace;

  // Given the archive's bytes each time they are read, before anything else is done with
  // them; throws EUnZipError to refuse them. A signed build checks the signature here, on
  // the very bytes that are then checked and installed.
  std::function<void(std::span<const std::uint8_t> Bytes)> Authenticate;

  std::function<void(TVCLUnZip& Sender, std::int32_t Percent)> OnFilePercentDone;
  // With 0 just before the first file of the installation is replaced, then with the count
  // of replacements after each one (a test build stops dead here).
  std::function<void(std::size_t Placed)> OnPlaced;
  // Once at the end of every run that got past the checks, with the files now in place.
  std::function<void(TVCLUnZip& Sender, std::int32_t FileCount)> OnUnZipComplete;

  // Reads and checks the archive without writing anything: its structure and ceilings, its
  // names as this file system tells them apart, every path against the platform's length
  // limit and against links below the destination, the free space, then a dry run of every
  // entry. Throws EUnZipError.
  void Check();
  // The number of entries installed; throws EUnZipError (with everything as before).
  std::int32_t UnZip();
  void CancelTheOperation() { FCancel = true; }
  bool FBusy = false;

 private:
  std::vector<std::uint8_t> ReadArchive() const;
  std::unique_ptr<TZipArchive> OpenArchive(const std::vector<std::uint8_t>& Bytes) const;
  void CheckDestination(const TZipArchive& Archive) const;
  void Pump();

  std::wstring FDestDir;
  bool FCancel = false;
  // The archive bytes the last Check found sound (size and CRC-32 of the whole file): the
  // run that follows need not decompress them twice before it writes.
  std::uint64_t FCheckedSize = 0;
  std::uint32_t FCheckedCrc = 0;
  bool FChecked = false;
};

// Removes a directory tree, read-only files included; what cannot go (a running program) stays.
// A link (junction or symbolic link) in it stays: never followed, never removed.
void RemoveTreeBestEffort(const std::wstring& Dir);

// Orders names as this file system tells them apart (its own case folding, beyond ASCII).
int CompareNamesAsFileSystem(std::wstring_view A, std::wstring_view B);
