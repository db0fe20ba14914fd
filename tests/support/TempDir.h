// Windows test helpers: a temporary directory removed with everything in it, and whole-file I/O.
#pragma once

#include <string>

class TTempDir {
 public:
  TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  ~TTempDir();

  // The directory with a trailing backslash.
  const std::wstring& Path() const { return FPath; }
  std::wstring operator/(const std::wstring& Relative) const { return FPath + Relative; }

 private:
  std::wstring FPath;
};

void RemoveTree(const std::wstring& Path);
// Copies the directory tree From into To (made when missing), files with their attributes.
void CopyTree(const std::wstring& From, const std::wstring& To);
// Writes Bytes as they are, creating missing parent directories.
void WriteBytes(const std::wstring& Path, const std::string& Bytes);
// The whole file, or the empty text when it cannot be read.
std::string ReadBytes(const std::wstring& Path);
bool FileExists(const std::wstring& Path);
