#pragma once
// Colour files: one per colour group, a single line holding the colour value
// (0x00BBGGRR) in decimal without blanks or sign, then CR LF. A missing or
// unreadable file, or one whose first item is not a 32-bit integer, gives the
// caller's fallback (normally the group's default below).
#include <string>
#include <string_view>

#include "data/io_result.h"
#include "platform/colour.h"

namespace reel {

inline constexpr std::string_view BackgroundColourFile = "BGColor";
inline constexpr std::string_view TextBoxBackColourFile = "txtBGColor";
inline constexpr std::string_view TextColourFile = "txtForColor";
inline constexpr std::string_view LabelColourFile = "tagForColor";

constexpr ColourValue DefaultBackground = 16711680;   // blue
constexpr ColourValue DefaultTextBoxBack = 16777215;  // white
constexpr ColourValue DefaultText = 16711680;         // blue
constexpr ColourValue DefaultLabel = 65535;           // yellow

ColourValue readColourFile(const std::string& directory, std::string_view name,
                           ColourValue fallback);
// Replaces the file whole. Values outside 0..0xFFFFFF are refused.
IoResult writeColourFile(const std::string& directory, std::string_view name, ColourValue value);

}  // namespace reel
