#pragma once
// The alternate collating table file the index commands name ("UPPER.ALT").
//
// Layout: one byte 172 that marks the file as a table, 8 unused bytes, then
// 256 weights, one per byte value. Weight 0 would make a byte ignored in
// comparisons, so every byte here gets a weight of at least 1.
#include <string>

namespace reel {

inline constexpr const char* CollatingTableFileName = "UPPER.ALT";
inline constexpr unsigned char CollatingTableMarker = 172;
inline constexpr int CollatingTableSize = 1 + 8 + 256;

// A table in which letters compare alike whatever their case: each lower-case
// letter of Windows-1252 (a-z, the accented letters, s/z with caron, oe, y with
// diaeresis) takes the weight of its capital; every other byte keeps its place
// in byte order.
std::string caseBlindCollatingTable();

}  // namespace reel
