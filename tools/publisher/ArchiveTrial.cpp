#include "ArchiveTrial.h"

#include <windows.h>

#include "Utf8Text.h"
#include "VCLUnZip.h"

namespace {

std::wstring ScratchDir() {
  wchar_t temp[MAX_PATH + 1] = {};
  if (!::GetTempPathW(MAX_PATH + 1, temp)) throw EPublishError(L"no temporary directory");
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::wstring dir = std::wstring(temp) + L"publish-trial-" + std::to_wstring(::GetCurrentProcessId()) +
                             L"-" + std::to_wstring(attempt);
    if (::CreateDirectoryW(dir.c_str(), nullptr)) return dir;
  }
  throw EPublishError(L"cannot make a scratch directory in " + std::wstring(temp));
}

// Files and folders below Dir, not counting the updater's own "Update".
std::size_t CountTree(const std::wstring& Dir, bool Top) {
  std::size_t count = 0;
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((Dir + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L".." || (Top && name == L"Update")) continue;
    ++count;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      count += CountTree(Dir + L"\\" + name, false);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return count;
}

void Compare(const std::wstring& Trial, const std::wstring& SourceDir, const std::vector<TSourceItem>& Items) {
  for (const auto& item : Items) {
    const std::wstring installed = Trial + L"\\" + item.Name;
    const DWORD attributes = ::GetFileAttributesW(installed.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != item.Directory)
      throw EPublishError(L"the updater did not install " + item.Name);
    if (item.Directory) continue;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != (item.Attributes & FILE_ATTRIBUTE_READONLY))
      throw EPublishError(L"the updater installed " + item.Name + L" with another read-only flag");
    if (ReadWholeFile(installed) != ReadWholeFile(SourceDir + L"\\" + item.Name))
      throw EPublishError(L"the updater installed other bytes for " + item.Name);
  }
  if (CountTree(Trial, true) != Items.size()) throw EPublishError(L"the updater installed more than was published");
}

}  // namespace

void TryInstallation(const std::wstring& ZipPath, const std::wstring& SourceDir, const std::vector<TSourceItem>& Items,
                     const std::function<void(std::span<const std::uint8_t>)>& Authenticate) {
  const std::wstring trial = ScratchDir();
  struct TCleanUp {
    const std::wstring& Dir;
    ~TCleanUp() { RemoveTreeBestEffort(Dir); }
  } cleanUp{trial};
  TVCLUnZip unzip;
  unzip.ZipName = ZipPath;
  unzip.SetDestDir(trial);
  unzip.DoProcessMessages = false;
  unzip.Authenticate = Authenticate;
  try {
    unzip.Check();
    unzip.UnZip();
  } catch (const EUnZipError& e) {
    throw EPublishError(L"the updater refuses this archive: " + DecodeUtf8Lenient(e.what()));
  }
  Compare(trial, SourceDir, Items);
}
