#include "data/colour_files.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "data/text_file.h"

namespace reel {
namespace {

constexpr ColourValue LargestColour = 0xFFFFFF;

// The item as a 32-bit integer, or nothing when it is not one.
std::optional<ColourValue> parseColour(std::string_view item) {
    if (!item.empty() && item.front() == '+') item.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (error != std::errc() || end != item.data() + item.size()) return std::nullopt;
    if (value < std::numeric_limits<ColourValue>::min() ||
        value > std::numeric_limits<ColourValue>::max()) {
        return std::nullopt;
    }
    return static_cast<ColourValue>(value);
}

}  // namespace

ColourValue readColourFile(const std::string& directory, std::string_view name,
                           ColourValue fallback) {
    const std::optional<std::string> item = readFirstItem(joinPath(directory, name));
    if (!item) return fallback;
    return parseColour(*item).value_or(fallback);
}

IoResult writeColourFile(const std::string& directory, std::string_view name, ColourValue value) {
    const std::string path = joinPath(directory, name);
    if (value < 0 || value > LargestColour) {
        return IoResult::failure("The colour " + std::to_string(value) +
                                 " is not a screen colour; \"" + path + "\" was not changed.");
    }
    return replaceFile(path, std::to_string(value) + "\r\n");
}

}  // namespace reel
