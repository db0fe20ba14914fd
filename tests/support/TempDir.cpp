#include "TempDir.h"

#include <windows.h>

#include <stdexcept>

TTempDir::TTempDir() {
  static unsigned counter = 0;
  wchar_t base[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, base);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    FPath = std::wstring(base) + L"orvo-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (::CreateDirectoryW(FPath.c_str(), nullptr)) return;
  }
  throw std::runtime_error("no temporary directory");
}

TTempDir::~TTempDir() { RemoveTree(FPath); }

void RemoveTree(const std::wstring& Path) {
  std::wstring base = Path;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW record;
  HANDLE find = ::FindFirstFileW((base + L"*").c_str(), &record);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = record.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = base + name;
      ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        ::DeleteFileW(full.c_str());
    } while (::FindNextFileW(find, &record));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(base.c_str());
}

void CopyTree(const std::wstring& From, const std::wstring& To) {
  ::CreateDirectoryW(To.c_str(), nullptr);
  WIN32_FIND_DATAW record;
  HANDLE find = ::FindFirstFileW((From + L"\\*").c_str(), &record);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = record.cFileName;
    if (name == L"." || name == L"..") continue;
    if (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(From + L"\\" + name, To + L"\\" + name);
    else
      ::CopyFileW((From + L"\\" + name).c_str(), (To + L"\\" + name).c_str(), FALSE);
  } while (::FindNextFileW(find, &record));
  ::FindClose(find);
}

void WriteBytes(const std::wstring& Path, const std::string& Bytes) {
  for (size_t at = Path.find(L'\\', 3); at != std::wstring::npos; at = Path.find(L'\\', at + 1))
    ::CreateDirectoryW(Path.substr(0, at).c_str(), nullptr);
  HANDLE file = ::CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create test file");
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  if (!ok || written != Bytes.size()) throw std::runtime_error("cannot write test file");
}

std::string ReadBytes(const std::wstring& Path) {
  HANDLE file = ::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

bool FileExists(const std::wstring& Path) { return ::GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }
