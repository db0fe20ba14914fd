#include "VCLUnZip.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include <zlib.h>

#include "InstallRecovery.h"
#include "ZipEntryCheck.h"
#include "ZipInflate.h"

namespace {

struct TCancelled {};

std::wstring ParentOf(const std::wstring& Path) {
  const auto at = Path.find_last_of(L'\\');
  return at == std::wstring::npos ? std::wstring() : Path.substr(0, at);
}

// Creates Dir and its missing parents; every directory made is appended to Made.
bool ForceDirectories(const std::wstring& Dir, std::vector<std::wstring>& Made) {
  if (Dir.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(Dir.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::wstring parent = ParentOf(Dir);
  if (parent.empty() || parent == Dir || (parent.size() == 2 && parent[1] == L':')) {
    if (!::CreateDirectoryW(Dir.c_str(), nullptr)) return false;
  } else {
    if (!ForceDirectories(parent, Made)) return false;
    if (!::CreateDirectoryW(Dir.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  Made.push_back(Dir);
  return true;
}

[[noreturn]] void WriteFailed(const std::wstring& What) {
  (void)What;
  throw EUnZipError(TUnZipFailure::RolledBack, "cannot write the update");
}

class TFileSink final : public IZipSink {
 public:
  explicit TFileSink(const std::wstring& Path)
      : FFile(::CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (FFile == INVALID_HANDLE_VALUE) WriteFailed(Path);
  }
  TFileSink(const TFileSink&) = delete;
  TFileSink& operator=(const TFileSink&) = delete;
  // An unfinished file is closed quietly: the error that left it early is on its way already.
  ~TFileSink() {
    if (FFile != INVALID_HANDLE_VALUE) ::CloseHandle(FFile);
  }
  void Write(const std::uint8_t* Data, std::size_t Size) override {
    DWORD written = 0;
    if (!::WriteFile(FFile, Data, static_cast<DWORD>(Size), &written, nullptr) || written != Size) WriteFailed(L"");
  }
  void SetTime(std::uint16_t DosDate, std::uint16_t DosTime) {
    FILETIME local{}, utc{};
    if (::DosDateTimeToFileTime(DosDate, DosTime, &local) && ::LocalFileTimeToFileTime(&local, &utc))
      ::SetFileTime(FFile, nullptr, nullptr, &utc);
  }
  // On the disk before it is renamed into place; closing can still fail (data written
  // late): that is a failed write too.
  void Close() {
    if (FFile != INVALID_HANDLE_VALUE) {
      const BOOL ok = ::FlushFileBuffers(FFile) & ::CloseHandle(FFile);
      FFile = INVALID_HANDLE_VALUE;
      if (!ok) WriteFailed(L"");
    }
  }

 private:
  HANDLE FFile;
};

// The longest run token: "YYYYMMDD-HHMMSS-" and a process id of up to ten digits.
constexpr std::size_t kRunTokenMax = 26;
constexpr wchar_t kTempMark[] = L".~upd";
constexpr wchar_t kBackupFolder[] = L"\\Update\\Backup\\";

// Paths longer than this fail without the long-path prefix, which this program does not use.
constexpr std::size_t kPathLimit = MAX_PATH - 1;

std::uint32_t WholeCrc(const std::vector<std::uint8_t>& Bytes) {
  uLong crc = ::crc32(0L, Z_NULL, 0);
  for (std::size_t at = 0; at < Bytes.size();) {
    const auto chunk = static_cast<uInt>(std::min<std::size_t>(Bytes.size() - at, 1u << 30));
    crc = ::crc32(crc, Bytes.data() + at, chunk);
    at += chunk;
  }
  return static_cast<std::uint32_t>(crc);
}

std::wstring RunToken() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  wchar_t text[64];
  swprintf(text, 64, L"%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
           now.wSecond, static_cast<unsigned long>(::GetCurrentProcessId()));
  return text;
}

bool DecodeAnsi(std::string_view Raw, std::wstring& Out) {
  if (Raw.empty()) {
    Out.clear();
    return true;
  }
  const int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, Raw.data(), static_cast<int>(Raw.size()), nullptr, 0);
  if (n <= 0) return false;
  Out.assign(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, Raw.data(), static_cast<int>(Raw.size()), Out.data(), n);
  return true;
}

}  // namespace

int CompareNamesAsFileSystem(std::wstring_view A, std::wstring_view B) {
  const int order = ::CompareStringOrdinal(A.data(), static_cast<int>(A.size()), B.data(), static_cast<int>(B.size()),
                                           TRUE);
  if (order == 0) return A < B ? -1 : (A == B ? 0 : 1);  // not comparable: tell them apart by code units
  return order - CSTR_EQUAL;
}

void RemoveTreeBestEffort(const std::wstring& Dir) {
  // A link stays as it is: not descended into, and not removed either, since removing it
  // can reach what it points to (Wine removes an empty target directory).
  const DWORD self = ::GetFileAttributesW(Dir.c_str());
  if (self != INVALID_FILE_ATTRIBUTES && (self & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((Dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = Dir + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        continue;
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTreeBestEffort(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(Dir.c_str());
}

void TVCLUnZip::SetDestDir(std::wstring Dir) {
  while (!Dir.empty() && Dir.back() == L'\\') Dir.pop_back();
  FDestDir = std::move(Dir);
}

void TVCLUnZip::Pump() {
  if (DoProcessMessages) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        FCancel = true;  // the program is ending: nothing half-done may stay
        break;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (FCancel) throw TCancelled{};
}

std::vector<std::uint8_t> TVCLUnZip::ReadArchive() const {
  const HANDLE file = ::CreateFileW(ZipName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EUnZipError(TUnZipFailure::NotAnArchive, "archive cannot be opened");
  LARGE_INTEGER size{};
  std::vector<std::uint8_t> bytes;
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (std::int64_t{1} << 32);
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t at = 0;
    while (ok && at < bytes.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
      ok = ::ReadFile(file, bytes.data() + at, want, &got, nullptr) && got == want;
      at += got;
    }
  }
  ::CloseHandle(file);
  if (!ok) throw EUnZipError(TUnZipFailure::NotAnArchive, "archive cannot be read");
  if (Authenticate) Authenticate(bytes);
  return bytes;
}

std::unique_ptr<TZipArchive> TVCLUnZip::OpenArchive(const std::vector<std::uint8_t>& Bytes) const {
  try {
    return std::make_unique<TZipArchive>(Bytes, DecodeAnsi, CompareNamesAsFileSystem);
  } catch (const EZipError& e) {
    throw EUnZipError(e.Fault() == TZipFault::NotAnArchive ? TUnZipFailure::NotAnArchive : TUnZipFailure::Rejected,
                      e.what());
  }
}

void TVCLUnZip::CheckDestination(const TZipArchive& Archive) const {
  // Every path this run may write: the target, its temporary file beside it, its backup.
  const std::size_t extra = std::max(std::size(kTempMark) - 1 + kRunTokenMax, std::size(kBackupFolder) - 1 + kRunTokenMax);
  std::unordered_set<std::wstring> seen;  // directories found to be no link
  for (const auto& entry : Archive.Entries()) {
    const std::wstring name = NormalizeEntryName(entry.Name);
    if (FDestDir.size() + 1 + name.size() + extra > kPathLimit)
      throw EUnZipError(TUnZipFailure::Rejected, "entry path too long for the destination");
    // No existing directory on the way is a link: writing through it would land elsewhere.
    for (std::size_t at = 0; at != std::wstring::npos;) {
      at = name.find(L'\\', at + 1);
      const std::wstring prefix = FDestDir + L"\\" + name.substr(0, at);
      if (seen.count(prefix)) continue;
      const DWORD attributes = ::GetFileAttributesW(prefix.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES) break;  // nothing deeper exists
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        throw EUnZipError(TUnZipFailure::Rejected, "entry path crosses a link");
      seen.insert(prefix);
    }
  }
  for (const wchar_t* folder : {L"\\Update", L"\\Update\\Backup"}) {
    const DWORD attributes = ::GetFileAttributesW((FDestDir + folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
      throw EUnZipError(TUnZipFailure::Rejected, "the update folder is a link");
  }
  std::uint64_t available = UINT64_MAX;
  if (FreeSpace) {
    available = FreeSpace(FDestDir);
  } else {
    // The nearest existing directory tells the volume (the destination may not exist yet).
    std::wstring probe = FDestDir;
    ULARGE_INTEGER free{};
    while (!probe.empty() && !::GetDiskFreeSpaceExW(probe.c_str(), &free, nullptr, nullptr)) probe = ParentOf(probe);
    if (!probe.empty()) available = free.QuadPart;
  }
  if (available < Archive.TotalUncompressedSize() + (1u << 20))
    throw EUnZipError(TUnZipFailure::NoSpace, "not enough free space");
}

void TVCLUnZip::Check() {
  const auto bytes = ReadArchive();
  FChecked = false;
  const std::unique_ptr<TZipArchive> archive = OpenArchive(bytes);
  CheckDestination(*archive);
  try {
    VerifyArchive(*archive);
  } catch (const EZipError& e) {
    throw EUnZipError(TUnZipFailure::Rejected, e.what());
  }
  FCheckedSize = bytes.size();
  FCheckedCrc = WholeCrc(bytes);
  FChecked = true;
}

std::int32_t TVCLUnZip::UnZip() {
  FCancel = false;
  const auto bytes = ReadArchive();
  const std::unique_ptr<TZipArchive> archive = OpenArchive(bytes);

  FBusy = true;
  struct TBusy {
    bool& Flag;
    ~TBusy() { Flag = false; }
  } busy{FBusy};

  // A run left unfinished comes first; while it cannot be undone nothing else may start.
  if (RecoverInstallation(FDestDir) == TRecovery::Failed)
    throw EUnZipError(TUnZipFailure::RolledBack, "an earlier run could not be undone");
  const std::wstring backupRoot = FDestDir + L"\\Update\\Backup";
  RemoveTreeBestEffort(backupRoot);  // of finished runs only: no journal names them now

  std::int32_t count = 0;
  bool started = false;    // past the checks: the run reports its end
  bool journaled = false;  // the journal exists: a failure is undone from it
  try {
    // Every check before the first write: paths and room, then the data.
    CheckDestination(*archive);
    // Checked just before, byte for byte: the writing below still checks every CRC-32.
    const bool checked = FChecked && FCheckedSize == bytes.size() && FCheckedCrc == WholeCrc(bytes);
    FChecked = false;
    if (!checked) {
      try {
        VerifyArchive(*archive, [this](std::uint64_t) { Pump(); });
      } catch (const EZipError& e) {
        throw EUnZipError(TUnZipFailure::Rejected, e.what());
      }
    }
    started = true;
    std::vector<std::wstring> unjournaled;  // the destination itself and "Update\"
    if (!ForceDirectories(FDestDir + L"\\Update", unjournaled)) WriteFailed(FDestDir);

    // The plan, journaled before anything is written: directories to make, files to place.
    const std::wstring token = RunToken();
    TInstallJournal plan;
    plan.BackupDir = L"Update\\Backup\\" + token;
    plan.TempSuffix = kTempMark + token;
    std::unordered_set<std::wstring> planned;
    auto planDirs = [&](const std::wstring& Name) {  // Name and its parents, top down
      for (std::size_t at = 0; at != std::wstring::npos;) {
        at = Name.find(L'\\', at + 1);
        const std::wstring dir = Name.substr(0, at);
        if (planned.count(dir)) continue;
        const DWORD attributes = ::GetFileAttributesW((FDestDir + L"\\" + dir).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) WriteFailed(dir);
        if (attributes == INVALID_FILE_ATTRIBUTES) plan.MadeDirs.push_back(dir);
        planned.insert(dir);
      }
    };
    std::vector<const TZipEntry*> files;
    for (const auto& entry : archive->Entries()) {
      const std::wstring name = NormalizeEntryName(entry.Name);
      if (entry.IsDirectory) {
        planDirs(name);
        ++count;
        continue;
      }
      if (const auto slash = name.find_last_of(L'\\'); slash != std::wstring::npos) planDirs(name.substr(0, slash));
      const DWORD existing = ::GetFileAttributesW(EntryTargetPath(FDestDir, name).c_str());
      if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) WriteFailed(name);
      if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) && !ReplaceReadOnly) continue;
      plan.Files.push_back({name, existing != INVALID_FILE_ATTRIBUTES});
      files.push_back(&entry);
    }
    if (!WriteJournal(FDestDir, plan)) WriteFailed(JournalPath(FDestDir));
    journaled = true;

    // Everything new beside its target first; the installation is not touched yet.
    for (const auto& dir : plan.MadeDirs)
      if (!::CreateDirectoryW((FDestDir + L"\\" + dir).c_str(), nullptr)) WriteFailed(dir);
    for (std::size_t i = 0; i < files.size(); ++i) {
      Pump();
      const TZipEntry& entry = *files[i];
      const std::wstring target = EntryTargetPath(FDestDir, plan.Files[i].Name);
      TFileSink sink(target + plan.TempSuffix);
      try {
        InflateEntry(*archive, entry, sink, [&](std::uint64_t written) {
          if (OnFilePercentDone) OnFilePercentDone(*this, EntryPercent(written, entry.UncompressedSize));
          Pump();
        });
      } catch (const EZipError& e) {
        throw EUnZipError(TUnZipFailure::RolledBack, e.what());
      }
      sink.SetTime(entry.DosDate, entry.DosTime);
      sink.Close();
      if (plan.Files[i].Existed) {
        std::vector<std::wstring> backupDirs;  // removed with the backup folder
        const std::wstring backup = FDestDir + L"\\" + plan.BackupDir + L"\\" + plan.Files[i].Name;
        if (!ForceDirectories(ParentOf(backup), backupDirs)) WriteFailed(backup);
      }
    }

    // The replacements: each old file to the backup, the new one into its place, then a
    // line in the journal.
    if (OnPlaced) OnPlaced(0);
    for (std::size_t i = 0; i < files.size(); ++i) {
      Pump();
      const std::wstring target = EntryTargetPath(FDestDir, plan.Files[i].Name);
      if (plan.Files[i].Existed) {
        const std::wstring backup = FDestDir + L"\\" + plan.BackupDir + L"\\" + plan.Files[i].Name;
        if (!::MoveFileExW(target.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH)) WriteFailed(target);
      }
      if (!::MoveFileExW((target + plan.TempSuffix).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        WriteFailed(target);
      if (RetainAttributes)
        ::SetFileAttributesW(target.c_str(), files[i]->Attributes ? files[i]->Attributes : FILE_ATTRIBUTE_NORMAL);
      if (!AppendJournal(FDestDir, JournalPlacedLine(i + 1))) WriteFailed(JournalPath(FDestDir));
      ++count;
      if (OnPlaced) OnPlaced(i + 1);
    }
    if (!AppendJournal(FDestDir, JournalCommitLine())) WriteFailed(JournalPath(FDestDir));
  } catch (...) {
    // Undone from the journal, as a later start would; what cannot be undone now stays
    // journaled for the next start.
    if (journaled) RecoverInstallation(FDestDir);
    std::exception_ptr error = std::current_exception();
    try {
      std::rethrow_exception(error);
    } catch (const TCancelled&) {
      if (OnUnZipComplete) OnUnZipComplete(*this, 0);
      throw EUnZipError(TUnZipFailure::Cancelled, "cancelled");
    } catch (const EUnZipError&) {
      if (started && OnUnZipComplete) OnUnZipComplete(*this, 0);
      throw;
    } catch (...) {
      if (started && OnUnZipComplete) OnUnZipComplete(*this, 0);
      throw EUnZipError(TUnZipFailure::RolledBack, "update not installed");
    }
  }
  // Done: the backups and the journal go (a running program's old file stays until next time).
  RecoverInstallation(FDestDir);
  if (OnUnZipComplete) OnUnZipComplete(*this, count);
  return count;
}
