#pragma once
// The outcome of a file operation. A failure carries a message that names the
// file and the reason, ready to show to the user as it is.
#include <string>
#include <utility>

namespace reel {

struct IoResult {
    bool ok = true;
    std::string message;

    explicit operator bool() const { return ok; }

    static IoResult success() { return IoResult{}; }
    static IoResult failure(std::string msg) { return IoResult{false, std::move(msg)}; }
};

}  // namespace reel
