#include "data/count_files.h"

#include "data/codepage.h"
#include "data/text_file.h"

namespace reel {

std::string countFileLine(std::int32_t count) {
    // A non-negative number is written with a leading blank where a minus
    // sign would stand, as the catalogue has always written it.
    const std::string digits = std::to_string(count);
    return (count >= 0 ? " " + digits : digits) + "\r\n";
}

std::string readCountFile(const std::string& directory, std::string_view name) {
    const std::optional<std::string> item = readFirstItem(joinPath(directory, name));
    // A missing or empty file is what an index that was never built leaves.
    if (!item || item->empty()) return "0";
    return cp1252ToUtf8(*item);
}

IoResult writeCountFile(const std::string& directory, std::string_view name, std::int32_t count) {
    return replaceFile(joinPath(directory, name), countFileLine(count));
}

}  // namespace reel
