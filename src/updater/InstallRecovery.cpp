#include "InstallRecovery.h"

#include <windows.h>

#include "Handles.h"
#include "VCLUnZip.h"

namespace {

constexpr wchar_t kJournal[] = L"\\Update\\Install.journal";
constexpr wchar_t kJournalTemp[] = L"\\Update\\Install.journal.tmp";

bool Exists(const std::wstring& Path) { return ::GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteAll(HANDLE File, const std::string& Bytes) {
  DWORD written = 0;
  return ::WriteFile(File, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr) &&
         written == Bytes.size() && ::FlushFileBuffers(File);
}

bool ReadAll(const std::wstring& Path, std::string& Bytes) {
  const TKernelHandle file(::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (LONGLONG{64} << 20)) return false;
  Bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  return Bytes.empty() ||
         (::ReadFile(file.get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &got, nullptr) && got == Bytes.size());
}

// Removes a file that may be read-only; true when it is gone.
bool RemoveFile(const std::wstring& Path) {
  if (!Exists(Path)) return true;
  ::SetFileAttributesW(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::DeleteFileW(Path.c_str()) != FALSE || !Exists(Path);
}

// The new file is moved aside first: renaming works for a running program, deleting not.
bool PutBack(const std::wstring& Target, const std::wstring& Backup) {
  if (Exists(Target)) {
    const std::wstring discarded = Target + L".~discard";
    ::SetFileAttributesW(Target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::MoveFileExW(Target.c_str(), discarded.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return false;
    if (!RemoveFile(discarded)) ::MoveFileExW(discarded.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  }
  return ::MoveFileExW(Backup.c_str(), Target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

std::wstring JournalPath(const std::wstring& DestDir) { return DestDir + kJournal; }

bool WriteJournal(const std::wstring& DestDir, const TInstallJournal& Journal) {
  const std::wstring temp = DestDir + kJournalTemp;
  {
    const TKernelHandle file(
        ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE || !WriteAll(file.get(), JournalHeader(Journal))) {
      ::DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (::MoveFileExW(temp.c_str(), JournalPath(DestDir).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  ::DeleteFileW(temp.c_str());
  return false;
}

bool AppendJournal(const std::wstring& DestDir, const std::string& Line) {
  const TKernelHandle file(::CreateFileW(JournalPath(DestDir).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.get() != INVALID_HANDLE_VALUE && WriteAll(file.get(), Line);
}

TRecovery RecoverInstallation(const std::wstring& DestDir) {
  ::DeleteFileW((DestDir + kJournalTemp).c_str());  // a header that never became the journal
  const std::wstring journalPath = JournalPath(DestDir);
  if (!Exists(journalPath)) return TRecovery::Nothing;
  std::string text;
  TInstallJournal journal;
  if (!ReadAll(journalPath, text) || !ParseJournal(text, journal)) return TRecovery::Failed;

  bool ok = true;
  const std::wstring backupDir = DestDir + L"\\" + journal.BackupDir;
  const bool finish = journal.Complete();
  for (auto it = journal.Files.rbegin(); it != journal.Files.rend(); ++it) {
    const std::wstring target = DestDir + L"\\" + it->Name;
    const std::wstring temp = target + journal.TempSuffix;
    if (!finish) {
      if (it->Existed) {
        // A backup there means the old file left its place; put it back over whatever came.
        const std::wstring backup = backupDir + L"\\" + it->Name;
        if (Exists(backup) && !PutBack(target, backup)) ok = false;
      } else if (!Exists(temp) && !RemoveFile(target)) {
        ok = false;  // the new file had been renamed into place
      }
    }
    if (!RemoveFile(temp)) ok = false;
  }
  if (!finish)
    for (auto it = journal.MadeDirs.rbegin(); it != journal.MadeDirs.rend(); ++it) {
      const std::wstring dir = DestDir + L"\\" + *it;
      const DWORD attributes = ::GetFileAttributesW(dir.c_str());
      // Only a plain, empty directory of the run's own goes.
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ::RemoveDirectoryW(dir.c_str());
    }
  if (!ok) return TRecovery::Failed;
  RemoveTreeBestEffort(backupDir);
  ::RemoveDirectoryW((DestDir + L"\\Update\\Backup").c_str());
  if (!::DeleteFileW(journalPath.c_str()) && Exists(journalPath)) return TRecovery::Failed;
  return finish ? TRecovery::Finished : TRecovery::RolledBack;
}
