#include "indexes/engine_codes.h"

#include "return_codes.h"

namespace reel {

std::string engineCodeMeaning(std::int32_t code) {
    return sorvel::return_code_meaning(code);
}

}  // namespace reel
