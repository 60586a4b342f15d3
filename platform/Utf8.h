// UTF-8 <-> wide text (wchar_t holds one Unicode code point here). Used wherever wide text meets
// a library that speaks UTF-8: Pango, the file system, SDL. Implementation: platform/Utf8.cpp.
#pragma once

#include <string>
#include <string_view>

// Code points that are not Unicode scalar values (surrogates, beyond U+10FFFF) become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// Each maximal ill-formed subsequence becomes one U+FFFD, as Unicode recommends.
std::wstring Utf8ToWide(std::string_view text);

// The length of Utf8ToWide(text), without making it: what the program's wide text buffers hold.
std::size_t CodePointCount(std::string_view text);

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

namespace utf8 {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at the start of `text` (not empty). Returns the number of bytes used,
// at least 1; `*codePoint` is kReplacement and `*valid` false for an ill-formed sequence.
std::size_t DecodeOne(std::string_view text, char32_t* codePoint, bool* valid);

// Appends the UTF-8 form of `codePoint` (replaced when it is not a scalar value).
void Append(std::string& out, char32_t codePoint);

}  // namespace utf8
