// Publish.exe: makes an update for the update host from a directory of new files: the
// archive "Update6.zip", checked by installing it with the updater's own installer, and the
// version file "Update6.txt" with the release notes and, given the maker's key, the
// signature. "--new-key" makes that key.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ArchiveTrial.h"
#include "PublishRequest.h"
#include "SignedUpdate.h"
#include "SigningKeyFile.h"
#include "SourceTree.h"
#include "Utf8Text.h"
#include "VersionFileText.h"
#include "ZipArchive.h"
#include "ZipWriter.h"

namespace {

void Write(DWORD Stream, const std::wstring& Text) {
  const HANDLE out = ::GetStdHandle(Stream);
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(out, &mode)) {
    ::WriteConsoleW(out, Text.c_str(), static_cast<DWORD>(Text.size()), &written, nullptr);
  } else {
    const std::string bytes = EncodeUtf8(Text);
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

std::wstring FullPath(const std::wstring& Path) {
  const DWORD n = ::GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
  if (!n) throw EPublishError(L"not a path: " + Path);
  std::wstring full(n, L'\0');
  full.resize(::GetFullPathNameW(Path.c_str(), n, full.data(), nullptr));
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

bool Inside(const std::wstring& Path, const std::wstring& Dir) {
  return Path.size() >= Dir.size() &&
         ::CompareStringOrdinal(Path.c_str(), static_cast<int>(Dir.size()), Dir.c_str(), -1, TRUE) == CSTR_EQUAL &&
         (Path.size() == Dir.size() || Path[Dir.size()] == L'\\');
}

void WriteNewFile(const std::wstring& Path, const std::string& Bytes) {
  const HANDLE file = ::CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EPublishError(L"cannot create " + Path);
  bool ok = true;
  for (std::size_t at = 0; ok && at < Bytes.size();) {
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(Bytes.size() - at, 1u << 20));
    ok = ::WriteFile(file, Bytes.data() + at, want, &written, nullptr) && written == want;
    at += written;
  }
  ok = ok && ::FlushFileBuffers(file);
  ::CloseHandle(file);
  if (!ok) {
    ::DeleteFileW(Path.c_str());
    throw EPublishError(L"cannot write " + Path);
  }
}

void MoveIntoPlace(const std::wstring& From, const std::wstring& To) {
  if (!::MoveFileExW(From.c_str(), To.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(From.c_str());
    throw EPublishError(L"cannot replace " + To);
  }
}

std::string BuildArchive(const std::wstring& From, const std::vector<TSourceItem>& Items) {
  TZipWriter writer;
  for (const auto& item : Items) {
    FILETIME local{};
    WORD date = 0x0021, time = 0;  // 1980-01-01, the earliest a ZIP archive tells
    if (!::FileTimeToLocalFileTime(&item.Written, &local) || !::FileTimeToDosDateTime(&local, &date, &time))
      date = 0x0021, time = 0;
    std::wstring name = item.Name;
    for (auto& c : name)
      if (c == L'\\') c = L'/';
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    if (item.Directory) {
      writer.Add(MakeZipRecord(EncodeUtf8(name + L"/"), {}, (item.Attributes & kept) | FILE_ATTRIBUTE_DIRECTORY, time, date));
    } else {
      const std::string data = ReadWholeFile(From + L"\\" + item.Name);
      writer.Add(MakeZipRecord(EncodeUtf8(name), data, item.Attributes & kept, time, date));
    }
  }
  return writer.Finish();
}

int NewKey(const TPublishRequest& Request) {
  const auto publicKey = MakeSigningKey(FullPath(Request.Key));
  Write(STD_OUTPUT_HANDLE, L"Made the signing key " + FullPath(Request.Key) +
                               L". Keep it secret. Its public key, for the updater's build:\n"
                               L"  -DRENEWA_UPDATE_PUBLIC_KEY=" + DecodeUtf8Lenient(HexText(publicKey)) + L"\n");
  return 0;
}

int Publish(const TPublishRequest& Request) {
  const std::wstring from = FullPath(Request.From), out = FullPath(Request.Out);
  if (Inside(out, from)) throw EPublishError(L"the output directory cannot be inside the published one");
  std::vector<std::wstring> notes;
  std::wstring error;
  if (!ParseReleaseNotes(ReadWholeFile(FullPath(Request.Notes)), notes, error)) throw EPublishError(error);
  std::vector<std::uint8_t> key;
  if (!Request.Key.empty()) key = ReadSigningKey(FullPath(Request.Key));

  const std::vector<TSourceItem> items = ListSourceTree(from);
  const std::string archive = BuildArchive(from, items);
  const std::span<const std::uint8_t> archiveBytes(reinterpret_cast<const std::uint8_t*>(archive.data()), archive.size());

  std::string signature;
  std::function<void(std::span<const std::uint8_t>)> authenticate;
  if (!key.empty()) {
    auto signed_ = SignUpdate(key, Request.Version, archiveBytes);
    if (!signed_) throw EPublishError(L"the platform refuses the signing key");
    signature = *signed_;
    TUpdatePublicKey publicKey;
    std::copy(key.begin(), key.begin() + kP256PublicKeySize, publicKey.begin());
    // The key's own public half, as a signed updater holds it: a key file whose halves do not
    // belong together fails here instead of at every user's updater.
    authenticate = SignatureAuthenticator(publicKey, Request.Version, DecodeUtf8Lenient(signature));
    ::SecureZeroMemory(key.data(), key.size());
  }

  if (!::CreateDirectoryW(out.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    throw EPublishError(L"cannot create the directory " + out);
  const std::wstring zipPath = out + L"\\Update6.zip", textPath = out + L"\\Update6.txt";
  const std::wstring pending = L".publishing";
  WriteNewFile(zipPath + pending, archive);
  try {
    TryInstallation(zipPath + pending, from, items, authenticate);
  } catch (...) {
    ::DeleteFileW((zipPath + pending).c_str());
    throw;
  }
  // The archive first: a host serving the folder meanwhile offers the old version with the
  // old archive, or the new one with the new.
  MoveIntoPlace(zipPath + pending, zipPath);
  WriteNewFile(textPath + pending, VersionFileBytes(Request.Version, notes, signature));
  MoveIntoPlace(textPath + pending, textPath);

  std::size_t files = 0;
  for (const auto& item : items) files += item.Directory ? 0 : 1;
  Write(STD_OUTPUT_HANDLE, L"Published version " + Request.Version + L": " + std::to_wstring(files) + L" files, " +
                               std::to_wstring(archive.size()) + L" bytes in " + zipPath + L", " +
                               std::to_wstring(notes.size()) + L" note lines in " + textPath +
                               (signature.empty() ? L", not signed.\n" : L", signed.\n"));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  TPublishRequest request;
  std::wstring error;
  if (!ParsePublishArguments(args, request, error)) {
    Write(STD_ERROR_HANDLE, L"publish: " + error + L"\n" + kPublishUsage);
    return 2;
  }
  try {
    return request.Mode == TPublishRequest::NewKey ? NewKey(request) : Publish(request);
  } catch (const EPublishError& e) {
    Write(STD_ERROR_HANDLE, L"publish: " + e.Text() + L"\n");
  } catch (const std::exception& e) {  // the archive writer's limits among others
    Write(STD_ERROR_HANDLE, L"publish: " + DecodeUtf8Lenient(e.what()) + L"\n");
  }
  return 1;
}
