#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Conversion between code page 437 (the system's character set: key codes
// and printed bytes) and the charset of the current LC_CTYPE locale, which
// is what the terminal speaks. The locale is read at every call, so a
// program that changes it is followed.
//
// In the C locale (charset "ANSI_X3.4-1968", plain ASCII) bytes below 128
// are the same in both sets and pass through; on output every byte of 128
// or more becomes '?', on input such bytes have no character and are
// dropped. The same holds when the system has no CP437 converter.

enum class LocaleCharset {
    Ascii,       // bytes below 128 only
    Utf8,        // characters of 1..4 bytes, length told by the lead byte
    SingleByte,  // any other charset, taken one byte per character
};

LocaleCharset codepage_locale_charset();

// The CP437 byte (1..255) of one complete locale character, or -1 when it
// has none (or the bytes are not exactly one valid character).
int32_t codepage_from_locale(const char* bytes, size_t n);

// The CP437 byte (0..255) of one complete UTF-8 character, whatever the
// locale: -1 when it has none (or the bytes are not exactly one valid
// character). Windowing systems deliver typed text in UTF-8.
int32_t codepage_from_utf8(const char* bytes, size_t n);

// Appends n CP437 bytes to `out` in the locale's charset and returns the
// number of bytes appended. Control bytes 0..31 are copied unchanged; a
// byte without a locale form becomes '?'.
size_t codepage_to_locale(const uint8_t* cp437, size_t n, std::string& out);

// Bytes of the UTF-8 character that `lead` starts: 1..4, or 0 when the byte
// cannot start one (a continuation byte, or 0xC0, 0xC1, 0xF5..0xFF).
size_t codepage_utf8_length(uint8_t lead);

// Bytes of the locale character that `lead` starts: as above for UTF-8,
// 1 for any other charset (0 for bytes of 128 or more under ASCII).
size_t codepage_char_length(uint8_t lead);
