#include "ZekTools.h"

#include <vector>

#include "Handles.h"

std::wstring GetModuleFile() {
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&GetModuleFile), &self);
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD got = ::GetModuleFileNameW(self, buffer, MAX_PATH + 1);
  return std::wstring(buffer, got < MAX_PATH + 1 ? got : MAX_PATH + 1);
}

std::wstring GetModuleDir() { return ModuleDirFromPath(GetModuleFile()); }

std::wstring GetFileVersionValue(const std::wstring& FileName, const std::wstring& ValueName) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(FileName.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> block(size);
  if (!::GetFileVersionInfoW(FileName.c_str(), 0, size, block.data())) return {};

  void* translation = nullptr;
  UINT translationLength = 0;
  if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &translationLength) ||
      translationLength < sizeof(DWORD))
    return {};
  DWORD first = 0;
  memcpy(&first, translation, sizeof(first));

  wchar_t subBlock[128];
  swprintf(subBlock, 128, L"\\StringFileInfo\\%04x%04x\\", LOWORD(first), HIWORD(first));
  const std::wstring query = subBlock + ValueName;
  void* value = nullptr;
  UINT valueLength = 0;
  if (!::VerQueryValueW(block.data(), query.c_str(), &value, &valueLength) || valueLength == 0) return {};
  // The length counts characters and may include the terminator.
  std::wstring text(static_cast<const wchar_t*>(value), valueLength);
  if (const auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
  return text;
}

bool GetSystemProxy(std::wstring& Host, std::int32_t& Port) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                      KEY_READ, &raw) != ERROR_SUCCESS)
    throw ERegistryError("Internet settings key cannot be opened");
  const TRegKey key(raw);

  DWORD enable = 0, type = 0, size = sizeof(enable);
  if (::RegQueryValueExW(key.get(), L"ProxyEnable", nullptr, &type, reinterpret_cast<BYTE*>(&enable), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    throw ERegistryError("ProxyEnable is absent or not an integer");
  if (enable == 0) return false;

  std::wstring server;
  DWORD bytes = 0;
  const LONG probe = ::RegQueryValueExW(key.get(), L"ProxyServer", nullptr, &type, nullptr, &bytes);
  if (probe == ERROR_SUCCESS) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryError("ProxyServer is not a text");
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), L"ProxyServer", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                           &bytes) != ERROR_SUCCESS)
      throw ERegistryError("ProxyServer cannot be read");
    buffer.back() = L'\0';
    server = buffer.data();
  }
  SplitProxyServer(server, Host, Port);
  return true;
}

void UpdateLayeredFromDC(HWND Wnd, std::int32_t Width, std::int32_t Height, HDC SourceDC, BYTE Alpha) {
  using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (!user32) return;
  const auto update = reinterpret_cast<UpdateLayeredWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")));
  if (!update) return;

  RECT rect{};
  ::GetWindowRect(Wnd, &rect);
  ::SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ::GetWindowLongPtrW(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  POINT destination{rect.left, rect.top};
  SIZE size{Width, Height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  update(Wnd, nullptr, &destination, &size, SourceDC, &source, 0, &blend, ULW_ALPHA);
}

void FindFiles(std::vector<std::wstring>& List, const std::wstring& Dir, const std::wstring& Mask, bool Recursive,
               TFindFilesCallback Callback) {
  std::wstring base = Dir;
  if (base.empty() || base.back() != L'\\') base += L'\\';

  WIN32_FIND_DATAW record{};
  {
    const TFindHandle find(::FindFirstFileW((base + Mask).c_str(), &record));
    if (find) {
      do {
        const std::wstring path = base + record.cFileName;
        if (Callback) Callback(path, record);
        if (!(record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && record.cFileName[0] != L'.')
          List.push_back(path);
      } while (::FindNextFileW(find.get(), &record));
    }
  }
  if (!Recursive) return;

  const TFindHandle find(::FindFirstFileW((base + L"*").c_str(), &record));
  if (!find) return;
  do {
    if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && record.cFileName[0] != L'.')
      FindFiles(List, base + record.cFileName, Mask, Recursive, Callback);
  } while (::FindNextFileW(find.get(), &record));
}

bool IsFile(const std::wstring& Path) {
  const DWORD attributes = ::GetFileAttributesW(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void TrimWorkingSet() {
  ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}
