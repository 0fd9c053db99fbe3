#pragma once
#include <cstddef>
#include <string>

// Windows-1251, the 8-bit code page of project files, and UTF-8 character counting.
namespace platform {

// False when the text is not valid UTF-8 or holds a character that Windows-1251 lacks; out is
// then left unchanged.
bool Utf8ToCp1251(const std::string& utf8, std::string& out);

// Every byte has a character; 0x98, which Windows-1251 leaves unassigned, becomes U+0098 (and
// U+0098 becomes 0x98 again), so any text read can be written back byte for byte.
std::string Cp1251ToUtf8(const std::string& bytes);

// True when the text is valid UTF-8 and every character has a Windows-1251 form.
bool HasCp1251Form(const std::string& utf8);

// Reads the character of a UTF-8 text at byte i and steps i past it; false (i unchanged) for an
// invalid, overlong, surrogate or out-of-range sequence.
bool NextCodePoint(const std::string& s, size_t& i, char32_t& cp);

// Number of characters (not bytes) of a UTF-8 text.
size_t Utf8Length(const std::string& utf8);

// The first n characters of a UTF-8 text (all of it when it is shorter).
std::string Utf8Left(const std::string& utf8, size_t n);

}  // namespace platform
