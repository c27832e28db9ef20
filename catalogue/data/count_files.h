#pragma once
// Count files: one per index, a single line telling how many entries the index
// got at its last build. Written as a blank and the digits for a non-negative
// count (a minus sign and the digits otherwise), then CR LF.
//
// Reading takes the first item of the file as text, without converting it:
// leading blanks are skipped, the item ends at a comma or the end of the line.
// The text "0" means the index is not built or empty. A missing, unreadable or
// empty file reads as "0".
#include <cstdint>
#include <string>
#include <string_view>

#include "data/io_result.h"

namespace reel {

inline constexpr std::string_view TitleCountFile = "Titleqen";
inline constexpr std::string_view DvdCountFile = "DVDqen";
inline constexpr std::string_view LaserCountFile = "Laserqen";
inline constexpr std::string_view VhsCountFile = "VHSqen";

std::string readCountFile(const std::string& directory, std::string_view name);
// Replaces the file whole (written beside it, then renamed over it).
IoResult writeCountFile(const std::string& directory, std::string_view name, std::int32_t count);

// The line a count file holds, CR LF included: " 214\r\n", "-3\r\n".
std::string countFileLine(std::int32_t count);

}  // namespace reel
