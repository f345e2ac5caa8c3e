#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mareldon {

// The game's text is cp932 (the Microsoft variant of Shift_JIS). Linux locales are
// UTF-8, so nothing here goes through setlocale/mblen/mbstowcs; conversions use
// iconv's "CP932" table, which is not the same as "SHIFT_JIS" (0x8160 and others).

// Lead bytes of double-byte characters: 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(uint8_t byte);

// Bytes taken by the character at text: 0 at the terminating zero, 2 for a lead byte
// followed by a valid trail byte, otherwise 1 (invalid and truncated bytes step singly).
int Cp932CharLength(const char* text);

// Substitutes for bytes that do not convert, so a count never comes back negative.
constexpr char16_t kCp932Substitute16 = u'\u30FB';
constexpr char kUtf8ToCp932Substitute = '?';

// cp932 to 16-bit code units (as Windows' wchar_t), invalid bytes replaced.
std::u16string Cp932ToUtf16(std::string_view text);
// cp932 to UTF-8, invalid bytes replaced by U+30FB.
std::string Cp932ToUtf8(std::string_view text);
// UTF-8 to cp932, characters cp932 cannot hold (and invalid UTF-8) replaced by '?'.
std::string Utf8ToCp932(std::string_view text);

}  // namespace mareldon
