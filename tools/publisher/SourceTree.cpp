#include "SourceTree.h"

#include <algorithm>

#include "Utf8Text.h"
#include "ZipEntryCheck.h"

EPublishError::EPublishError(const std::wstring& What) : std::runtime_error(EncodeUtf8(What)), FText(What) {}

namespace {

void Walk(const std::wstring& Root, const std::wstring& Relative, std::vector<TSourceItem>& Items) {
  const std::wstring dir = Relative.empty() ? Root : Root + L"\\" + Relative;
  std::vector<TSourceItem> here;
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) throw EPublishError(L"cannot read the directory " + dir);
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring relative = Relative.empty() ? name : Relative + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      throw EPublishError(L"a link is not published: " + relative);
    if (Relative.empty() && ::CompareStringOrdinal(name.c_str(), -1, L"Update", -1, TRUE) == CSTR_EQUAL)
      throw EPublishError(L"\"Update\" is the updater's working folder and cannot be published");
    // Checked before the file is opened: a device name would open the device.
    const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const TEntryNameFault fault = CheckEntryName(directory ? relative + L"\\" : relative);
    if (fault != TEntryNameFault::None)
      throw EPublishError(L"the updater refuses the name " + relative + L": " + DecodeUtf8Lenient(EntryNameFaultText(fault)));
    here.push_back({relative, directory, data.dwFileAttributes,
                    data.ftLastWriteTime});
  } while (::FindNextFileW(find, &data));
  const DWORD error = ::GetLastError();
  ::FindClose(find);
  if (error != ERROR_NO_MORE_FILES) throw EPublishError(L"cannot read the directory " + dir);
  std::sort(here.begin(), here.end(), [](const TSourceItem& a, const TSourceItem& b) { return a.Name < b.Name; });
  for (const auto& item : here) {
    Items.push_back(item);
    if (item.Directory) Walk(Root, item.Name, Items);
  }
}

}  // namespace

std::vector<TSourceItem> ListSourceTree(const std::wstring& Dir) {
  const DWORD attributes = ::GetFileAttributesW(Dir.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw EPublishError(L"no such directory: " + Dir);
  std::vector<TSourceItem> items;
  Walk(Dir, L"", items);
  if (std::none_of(items.begin(), items.end(), [](const TSourceItem& i) { return !i.Directory; }))
    throw EPublishError(L"there is no file to publish in " + Dir);
  return items;
}

std::string ReadWholeFile(const std::wstring& Path) {
  const HANDLE file = ::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EPublishError(L"cannot open " + Path);
  LARGE_INTEGER size{};
  std::string bytes;
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (std::int64_t{1} << 32);
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    for (std::size_t at = 0; ok && at < bytes.size();) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
      ok = ::ReadFile(file, bytes.data() + at, want, &got, nullptr) && got == want;
      at += got;
    }
  }
  ::CloseHandle(file);
  if (!ok) throw EPublishError(L"cannot read " + Path + L" (a ZIP archive holds files below 4 GiB)");
  return bytes;
}
