#pragma once
// MasterJournal: the undo journal that keeps a Save from tearing a film record.
//
// Before a record of the master file is written in place, the journal file
// "Tavlen.jnl" beside it receives what the write is about to change: the
// record number, the file's length and the 649 bytes at that record, closed
// by a checksum, and is flushed to disk. Only then is the master written and
// flushed, and only after that is the journal emptied (and that flushed too),
// so a Save is never announced while its undo could still come back.
//
// A crash at any instant thus leaves either
//  - a torn or empty journal: the master was not touched yet, the journal
//    is simply discarded; or
//  - a whole journal: the master may hold a half-written record; the next
//    open puts the saved bytes back and cuts the file to its old length, so
//    the record is as it was before the Save that never finished.
// A write that fails is rolled back the same way at once.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reel {

struct JournalEntry {
    std::int32_t record = 0;     // the record about to be written (>= 1)
    std::int64_t oldLength = 0;  // the master file's length before the write
    std::string oldBytes;        // FilmRecord::Size bytes: the record as it was
                                 // (blanks where it lay beyond the old end)
};

// The journal's bytes for an entry, and back: nothing unless the bytes are a
// whole entry with a matching checksum.
std::string journalBytes(const JournalEntry& entry);
std::optional<JournalEntry> parseJournal(std::string_view bytes);

// Puts the entry back into the master file open as `masterFd`: the old bytes
// within the old length, and the length itself. Flushed. 0 or the errno.
int undoWrite(int masterFd, const JournalEntry& entry);

class MasterJournal {
  public:
    static constexpr const char* FileName = "Tavlen.jnl";

    MasterJournal() = default;
    ~MasterJournal();
    MasterJournal(const MasterJournal&) = delete;
    MasterJournal& operator=(const MasterJournal&) = delete;

    // Applies a journal left by a Save that did not finish to the master
    // file, then empties it. A torn journal is discarded. 0 or the errno of
    // the failure (the journal then stays for the next try).
    int recover(const std::string& path, int masterFd);

    // Writes the entry and flushes it; creates the file (and flushes its
    // folder) the first time. 0 or the errno.
    int record(const std::string& path, const JournalEntry& entry);
    // The write is on disk: empties the journal, flushed. 0 or the errno.
    int settle();
    // Closes the journal and removes its (empty) file.
    void close();

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace reel
