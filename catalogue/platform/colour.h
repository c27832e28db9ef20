#pragma once
// A screen colour as the catalogue stores it: 0x00BBGGRR in a 32-bit signed
// integer (red in the low byte). This is the value written to the colour files.
#include <cstdint>

namespace reel {

using ColourValue = std::int32_t;

constexpr int colourRed(ColourValue c) { return c & 0xFF; }
constexpr int colourGreen(ColourValue c) { return (c >> 8) & 0xFF; }
constexpr int colourBlue(ColourValue c) { return (c >> 16) & 0xFF; }
constexpr ColourValue makeColour(int red, int green, int blue) {
    return static_cast<ColourValue>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

}  // namespace reel
