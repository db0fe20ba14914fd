#include "SigningKeyFile.h"

#include <windows.h>

#include "Cng.h"
#include "SourceTree.h"

std::vector<std::uint8_t> ReadSigningKey(const std::wstring& Path) {
  std::string text = ReadWholeFile(Path);
  auto key = ParseHex(text);
  ::SecureZeroMemory(text.data(), text.size());
  if (!key || key->size() != kP256PrivateKeySize)
    throw EPublishError(Path + L" holds no signing key (" + std::to_wstring(kP256PrivateKeySize * 2) +
                        L" hex digits made by --new-key)");
  return *key;
}

std::vector<std::uint8_t> MakeSigningKey(const std::wstring& Path) {
  std::vector<std::uint8_t> key = NewP256Key();
  if (key.empty()) throw EPublishError(L"the platform made no key pair");
  std::string text = HexText(key) + "\r\n";
  const HANDLE file = ::CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw EPublishError(::GetLastError() == ERROR_FILE_EXISTS ? Path + L" exists already; a key is never overwritten"
                                                                : L"cannot create " + Path);
  }
  DWORD written = 0;
  const bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size() && ::FlushFileBuffers(file);
  ::CloseHandle(file);
  ::SecureZeroMemory(text.data(), text.size());
  if (!ok) {
    ::DeleteFileW(Path.c_str());
    throw EPublishError(L"cannot write " + Path);
  }
  key.resize(kP256PublicKeySize);
  return key;
}
