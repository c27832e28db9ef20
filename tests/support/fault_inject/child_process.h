// Runs a program as a child process, optionally under the fault_inject
// preload, and reports how it ended. Shared by every suite that injects
// faults; see fault_inject.cpp for the variables the preload reads.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace fault_inject {

struct ChildResult {
    bool exited = false;  // ended by exit(); otherwise by a signal
    int code = -1;        // exit status when exited
    int signal = 0;       // terminating signal otherwise
    std::string output;   // standard output and error, interleaved
};

// Runs argv[0] (a path) with the current environment plus `environment`
// ("NAME=value" entries, which win over inherited ones), in `folder` when it
// is not empty.
ChildResult run_child(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment = {},
                      const std::string& folder = {});

// The environment for a run under the preload: the path of the library this
// build made, FAULT_* from the arguments (at = 0: count only), and the
// sanitizer option the preload needs. `count_file` may be empty.
struct Fault {
    std::string op = "any";     // write|fsync|rename|open|truncate|any
    long at = 0;
    std::string kind = "enospc";  // enospc|eio|kill
    bool sticky = false;
};
std::vector<std::string> preload_environment(const Fault& fault, const std::string& count_file);

// The counts a run left in its FAULT_COUNT_FILE ("write" -> 12, ...,
// "injected" -> 0 or 1); empty when the file is missing.
std::map<std::string, long> read_counts(const std::string& count_file);

// The kind of call that was hit ("write", "rename", ...), or "" when none.
std::string read_hit(const std::string& count_file);

}  // namespace fault_inject
