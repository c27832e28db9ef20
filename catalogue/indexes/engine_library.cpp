#include "indexes/engine_library.h"

#include <dlfcn.h>

#include "platform/platform.h"

namespace reel {

namespace {

// The engine's drain callback: show what the handler has put on screen and
// let the window repaint, without taking user input.
void drainMessages(void* context) {
    static_cast<Platform*>(context)->refresh();
}

std::string loaderError() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

}  // namespace

EngineLibrary::EngineLibrary(std::string path) : path_(std::move(path)) {}

EngineLibrary::~EngineLibrary() {
    if (handle_) dlclose(handle_);
}

bool EngineLibrary::load() {
    if (loaded()) return true;
    error_.clear();
    if (!handle_) {
        dlerror();
        handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            error_ = "The sort engine library \"" + path_ +
                     "\" cannot be loaded: " + loaderError() + ".";
            return false;
        }
    }
    dlerror();
    auto sort = reinterpret_cast<SortFn>(dlsym(handle_, "s_1mains"));
    auto setHost = reinterpret_cast<SetHostFn>(dlsym(handle_, "s_sethost"));
    if (!sort || !setHost) {
        error_ = "The sort engine library \"" + path_ + "\" cannot be used: " + loaderError() + ".";
        dlclose(handle_);
        handle_ = nullptr;
        return false;
    }
    sort_ = sort;
    setHost_ = setHost;
    return true;
}

EngineResult EngineLibrary::run(const std::string& input, const std::string& output,
                                const std::string& command) {
    std::uint32_t written = 0;
    std::int32_t code = 0;
    sort_(input.c_str(), output.c_str(), command.c_str(), &written, &code);
    // The count is handed on as the signed 32-bit number the count files hold.
    return {static_cast<std::int32_t>(written), code};
}

EngineLibrary::HostHook::HostHook(EngineLibrary& engine, Platform& platform) : engine_(engine) {
    engine_.setHost_(&drainMessages, nullptr, &platform);
}

EngineLibrary::HostHook::~HostHook() {
    // The platform may not outlive the hook; the engine must not call it later.
    engine_.setHost_(nullptr, nullptr, nullptr);
}

}  // namespace reel
