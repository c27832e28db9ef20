#pragma once
// What the sort engine's return codes mean, in words a message can show.
// The engine keeps its own table private; this one is the catalogue's copy
// of the published code table.
#include <cstdint>
#include <string>

namespace reel {

// "unknown return code" for a code the table does not list.
std::string engineCodeMeaning(std::int32_t code);

}  // namespace reel
