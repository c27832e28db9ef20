#pragma once
// What the sort engine's return codes mean, in words a message can show:
// the engine's own table (sorvel_codes), linked in, so that the words do
// not depend on which engine library is loaded, or whether one is.
#include <cstdint>
#include <string>

namespace reel {

// "unknown return code" for a code the table does not list.
std::string engineCodeMeaning(std::int32_t code);

}  // namespace reel
