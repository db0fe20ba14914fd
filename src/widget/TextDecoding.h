// Bytes from files and the network turned into text. Portable: the shell passes in what
// only the platform knows (the ANSI code page).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 to UTF-16 (UTF-32 where wchar_t is 32 bits). An invalid or truncated sequence
// becomes U+FFFD and decoding goes on; a leading byte-order mark is dropped.
std::wstring DecodeUtf8(std::string_view Bytes);

// Splits at CR, LF or CR LF and joins with CR LF after every line, so a non-empty text
// ends in CR LF; a final line break adds no empty line.
std::wstring RejoinLines(std::wstring_view Text);

// Splits at CR, LF or CR LF; a final line break adds no empty line.
std::vector<std::wstring> SplitLines(std::wstring_view Text);

using TAnsiDecoder = std::function<std::wstring(std::string_view)>;

// A text file: a UTF-8 or UTF-16 (LE or BE) byte-order mark selects that encoding,
// otherwise Ansi decodes the bytes. The mark itself is not part of the text.
std::wstring DecodeTextFile(std::string_view Bytes, const TAnsiDecoder& Ansi);
