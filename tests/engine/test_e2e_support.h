// Helpers of the end-to-end engine tests: a scratch directory that is the
// current directory while a test runs (work files go there by default), file
// helpers and calls of the exports.
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sorvel32.h"

namespace sorvel_test {

using Bytes = std::string;

class ScratchDir {
  public:
    ScratchDir() {
        char pattern[] = "/tmp/sorvel-e2e-XXXXXX";
        path_ = ::mkdtemp(pattern);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(old_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::filesystem::path old_;
};

inline void write_file(const std::string& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool file_exists(const std::string& name) {
    return std::filesystem::exists(name);
}

// Names in `dir` that look like the engine's work, probe or header files.
inline std::vector<std::string> engine_temp_files(const std::string& dir = ".") {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        // the old work-file names, and the hidden names of new outputs and
        // of work files where the file system cannot make unnamed ones
        if ((name.rfind("sw", 0) == 0 && name.find(".00") != std::string::npos) ||
            name.rfind(".", 0) == 0) {
            found.push_back(name);
        }
    }
    return found;
}

struct RunResult {
    std::uint32_t count = 0;
    std::int32_t code = -1;
};

inline RunResult run(const std::string& inputs, const std::string& output,
                     const std::string& command) {
    RunResult r;
    s_1mains(inputs.c_str(), output.c_str(), command.c_str(), &r.count, &r.code);
    return r;
}

// Lines ended by CR LF.
inline Bytes lines(const std::vector<std::string>& items) {
    Bytes out;
    for (const auto& item : items) out += item + "\r\n";
    return out;
}

}  // namespace sorvel_test
