// The system's single-byte code page for every file the system writes (Windows-1252 here; on
// Windows the system's ANSI code page, 1252 on a German or English system), UTF-8 inside the
// program.
#pragma once

#include <string>
#include <string_view>

namespace vn {

// How a character that Windows-1252 cannot hold is written.
enum class Unmappable {
  kCharacterReference,  // "&#8364;" style, for the page file: no text is lost
  kQuestionMark,        // "?", for the other files
};

// UTF-8 text to Windows-1252 bytes. Invalid UTF-8 sequences count as unmappable bytes.
std::string Utf8ToCp1252(std::string_view utf8, Unmappable unmappable);
// The same appended to `out`, for a writer that gathers many lines in one buffer.
void AppendUtf8AsCp1252(std::string& out, std::string_view utf8, Unmappable unmappable);

// UTF-8 text to the bytes of the system's ANSI code page: Utf8ToCp1252 on Linux, the code page of
// GetACP on Windows. What the code page cannot hold is written as `unmappable` says.
std::string Utf8ToAnsi(std::string_view utf8, Unmappable unmappable);
// The same appended to `out`.
void AppendUtf8AsAnsi(std::string& out, std::string_view utf8, Unmappable unmappable);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to U+FFFD).
std::string Cp1252ToUtf8(std::string_view bytes);

// The character of one Windows-1252 byte appended as UTF-8; false (nothing appended) for the
// five unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D.
bool AppendCp1252ByteAsUtf8(std::string& out, unsigned char byte);
// The same for one byte of the system's ANSI code page (Windows-1252 on Linux, that of GetACP on
// Windows); false when the code page has no character of its own for the byte (unassigned, or
// the first byte of a double-byte character).
bool AppendAnsiByteAsUtf8(std::string& out, unsigned char byte);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Decodes one UTF-8 character at `pos`, advancing it; returns -1 for an invalid sequence
// (advancing by one byte).
long DecodeUtf8(std::string_view text, size_t& pos);

// Appends the UTF-8 form of `codePoint`.
void AppendUtf8(std::string& out, unsigned long codePoint);

}  // namespace vn
