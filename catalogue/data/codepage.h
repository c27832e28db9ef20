#pragma once
// Text conversion between the program and its data files.
//
// The program holds text as UTF-8; every data file holds Windows-1252, one byte
// per character. Converting to the file's code page maps each character the
// code page lacks (and each byte that is not valid UTF-8) to "?", so a stored
// value never contains a byte sequence that reads back as something else.
// Because the file side is single-byte, cutting to a field width counts
// characters, and a character is never split.
#include <cstddef>
#include <string>
#include <string_view>

namespace reel {

// UTF-8 text -> Windows-1252 bytes; unmappable characters become '?'.
std::string utf8ToCp1252(std::string_view utf8);

// Length of the valid UTF-8 sequence at `pos`, or 0 when the bytes there are
// not one (stray continuation byte, truncated or overlong sequence, surrogate,
// beyond U+10FFFF).
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos);

// Windows-1252 bytes -> UTF-8 text. The five byte values the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) come back as the control characters
// of the same number, so every byte survives a round trip.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 text -> exactly `width` Windows-1252 bytes: cut to the first `width`
// characters, or padded on the right with spaces. A negative width counts as 0.
std::string fitToWidth(std::string_view utf8, int width);

}  // namespace reel
