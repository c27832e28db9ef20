#pragma once
// The page estimates the reports announce before they print: a quotient in
// general number format (no trailing zeros), cut (not rounded) to its first
// five characters, with the page word that fits it.
#include <cstdint>
#include <string>
#include <string_view>

namespace reel {

// General number format: up to 15 significant digits, no trailing zeros.
std::string generalNumber(double value);

// The abridged lists: the count text's whole number, raised to 53, over 53
// (53 films a page). "54" gives "1.018 pages to print.".
std::string abridgedEstimate(std::string_view countText);

// The full list: LastRecord over 8 (8 films a page); below 1 page reads "1".
std::string fullListEstimate(std::int32_t lastRecord);

// The whole number at the start of a count text ("214" -> 214, "x" -> 0).
long long countValue(std::string_view countText);

}  // namespace reel
