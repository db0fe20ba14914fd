#include "WidgetLibraryInfo.h"

#include <windows.h>

#include <algorithm>

#include "WidgetInterface.h"
#include "ZekTools.h"

namespace {

// Unloads on every way out, also when an export throws.
class TLoadedLibrary {
 public:
  explicit TLoadedLibrary(const std::wstring& FileName) {
    // A file that is no library must not put up a system error box.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FModule = ::LoadLibraryW(FileName.c_str());
    ::SetErrorMode(oldMode);
  }
  ~TLoadedLibrary() {
    if (FModule) ::FreeLibrary(FModule);
  }
  TLoadedLibrary(const TLoadedLibrary&) = delete;
  TLoadedLibrary& operator=(const TLoadedLibrary&) = delete;

  HMODULE Module() const { return FModule; }

 private:
  HMODULE FModule = nullptr;
};

std::wstring CallText(HMODULE Module, const char* Export) {
  const auto get = reinterpret_cast<TGetWidgetText>(reinterpret_cast<void*>(::GetProcAddress(Module, Export)));
  if (!get) return {};
  BSTR text = nullptr;
  get(&text);
  std::wstring value = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  return value;
}

}  // namespace

std::vector<std::wstring> FindWidgetLibraries(const std::wstring& WidgetsDir) {
  std::vector<std::wstring> paths;
  FindFiles(paths, WidgetsDir, L"Widget.dll", true, nullptr);
  std::stable_sort(paths.begin(), paths.end(), [](const std::wstring& A, const std::wstring& B) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A.c_str(), static_cast<int>(A.size()), B.c_str(),
                            static_cast<int>(B.size())) == CSTR_LESS_THAN;
  });
  return paths;
}

std::optional<TWidgetInfo> ReadWidgetInfo(const std::wstring& FileName) {
  const TLoadedLibrary library(FileName);
  if (!library.Module()) return std::nullopt;
  TWidgetInfo info;
  info.FileName = FileName;
  info.Name = CallText(library.Module(), "GetName");
  info.Icon = CallText(library.Module(), "GetIcon");
  info.Vision = CallText(library.Module(), "GetVision");
  info.Description = CallText(library.Module(), "GetDescription");
  return info;
}
