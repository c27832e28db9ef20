#include "indexes/engine_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "app/program_folders.h"
#include "platform/platform.h"

namespace reel {

namespace {

// The engine's drain callback: show what the handler has put on screen and
// let the window repaint, without taking user input.
void drainMessages(void* context) {
    static_cast<Platform*>(context)->refresh();
}

std::string& failedLookup() {
    static std::string reason;
    return reason;
}

std::string loaderError() {
    if (!failedLookup().empty()) return std::exchange(failedLookup(), std::string());
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

// A bare library name is looked up through the program's RUNPATH. Some
// loaders answer dlopen on behalf of another object (a sanitizer runtime
// intercepts it, and then its own RUNPATH is searched), and a system
// install has no RUNPATH at all, so the library folder of the install
// layout, relative to the program, is tried as well before giving up.
void* openLibrary(const std::string& name) {
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle || name.find('/') != std::string::npos) return handle;
    const std::string firstError = loaderError();
    const std::string dir = runningProgramFolder();
    if (!dir.empty()) {
        for (const std::string& candidate : {libraryFolder(dir) + "/" + name, dir + "/" + name}) {
            if (access(candidate.c_str(), F_OK) != 0) continue;
            handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle) return handle;
        }
    }
    // Report the lookup by name, which is what failed first.
    failedLookup() = firstError;
    return nullptr;
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
        handle_ = openLibrary(path_);
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
