#pragma once
// EngineLibrary: the sort engine "libsorvel32.so", loaded at run time by name
// and called through its C exports.
//
// The catalogue never links the engine: it is found the way the dynamic
// linker finds any library named without a path, which for the program means
// its RUNPATH ($ORIGIN/../<libdir>, the same in the build tree and the
// install) or the system's library folders, and failing that in the library
// folder of the install layout relative to the program. A path with a slash
// loads that file instead (tests use it).
//
// Contracts:
//  - load() loads the library and binds s_1mains and s_sethost once; after a
//    failure error() names the library and gives the loader's reason, and a
//    later load() tries again.
//  - run() is synchronous. While it runs the engine calls back the drain
//    function given to HostHook between its long steps; nothing may start
//    another run from there (the engine refuses it anyway).
#include <cstdint>
#include <string>

#include "sorvel32.h"

namespace reel {

class Platform;

struct EngineResult {
    std::int32_t recordsWritten = 0;
    std::int32_t returnCode = 0;
};

class EngineLibrary {
  public:
    static constexpr const char* FileName = "libsorvel32.so";

    explicit EngineLibrary(std::string path = FileName);
    ~EngineLibrary();
    EngineLibrary(const EngineLibrary&) = delete;
    EngineLibrary& operator=(const EngineLibrary&) = delete;

    bool load();
    bool loaded() const { return sort_ != nullptr; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

    // REQUIRES: loaded(). One run of s_1mains; the texts are passed as bytes.
    EngineResult run(const std::string& input, const std::string& output,
                     const std::string& command);

    // While a HostHook lives, the engine's drain calls platform.refresh(),
    // which repaints the windows but holds user input back.
    class HostHook {
      public:
        // REQUIRES: engine.loaded().
        HostHook(EngineLibrary& engine, Platform& platform);
        ~HostHook();
        HostHook(const HostHook&) = delete;
        HostHook& operator=(const HostHook&) = delete;

      private:
        EngineLibrary& engine_;
    };

  private:
    // The exports' types come from the engine's header, so a change there
    // cannot go unnoticed here.
    using SortFn = decltype(&s_1mains);
    using SetHostFn = decltype(&s_sethost);

    std::string path_;
    std::string error_;
    void* handle_ = nullptr;
    SortFn sort_ = nullptr;
    SetHostFn setHost_ = nullptr;
};

}  // namespace reel
