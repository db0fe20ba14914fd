// UTF-8 bytes to text, the one decoder of the suite. Text is UTF-16 where wchar_t has 16
// bits (Windows) and UTF-32 where it has 32.
#pragma once

#include <string>
#include <string_view>

// Appends one code point, as a surrogate pair where wchar_t has 16 bits.
void AppendCodePoint(std::wstring& Out, char32_t CodePoint);

// The text as UTF-8; a lone surrogate (or a value beyond U+10FFFF) becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view Text);

// Strict: false at the first ill-formed sequence (overlong forms, surrogates, values beyond
// U+10FFFF, stray or missing continuation bytes); Out then holds what came before it.
bool DecodeUtf8Strict(std::string_view Bytes, std::wstring& Out);

// Lenient: each maximal ill-formed piece becomes one U+FFFD and decoding goes on.
std::wstring DecodeUtf8Lenient(std::string_view Bytes);
