// Files a run creates, made so that nobody can slip a file of their own under
// the engine and nothing of a failed or killed run is left behind.
//
// Temporary files (work files, the MergeFile, the probe) have no name at all
// where the file system allows it (O_TMPFILE); elsewhere they get an
// unpredictable name, are created exclusively (never through a symbolic
// link), owner-only, and unlinked at once. Either way they live exactly as
// long as their descriptor.
//
// The output file is written as a new file beside the target and only put in
// place, by a rename over the target, once it is complete and on disk. Until
// then the previous output is untouched; a failure or a kill leaves it as it
// was. A target that exists but is not a regular file (a device, a pipe) is
// written directly, as nothing can be renamed over it.
#pragma once

#include <sys/types.h>

#include <string>

namespace sorvel {

// An unnamed read-write file in `directory` ("" for the current one), or -1
// with errno set.
int create_temporary_file(const std::string& directory);

struct PendingOutput {
    int fd = -1;
    std::string target;     // the file that is replaced (symbolic links resolved)
    std::string temp_name;  // the new file's name while it has one, else empty
    bool direct = false;    // written in place: the target is not a regular file
    bool target_existed = false;
    mode_t target_mode = 0;
    uid_t target_owner = 0;
    gid_t target_group = 0;
};

// Creates the new file that will replace `target` (or opens the target
// itself when it is not a regular file). False with errno set on failure.
bool begin_output(const std::string& target, PendingOutput& out);

// Gives the new file the target's permissions, flushes it to disk and renames
// it over the target; the folder is flushed too. Closes the descriptor in
// every case. False when the file cannot be made durable or put in place;
// the previous output is then untouched and the new file gone.
bool commit_output(PendingOutput& out);

// Throws the new file away: the target keeps its previous content.
void discard_output(PendingOutput& out);

// Async-signal-safe: removes a new output file that still has a name. For a
// program's handler of SIGINT, SIGTERM and SIGHUP (see s_sigclean).
void discard_output_on_signal();

}  // namespace sorvel
