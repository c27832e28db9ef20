#pragma once
// MasterFile: the catalogue's file of films, "Tavlen.Dat" in one directory.
//
// Record n (n >= 1) occupies bytes (n-1)*649 to n*649-1; there is no header and
// no free list. A deleted film is a blank record and keeps its number.
//
// Contracts:
//  - open() creates an empty file when none exists and holds an exclusive
//    advisory lock on it until close(), so a second MasterFile (in this or
//    another process) on the same directory fails to open with a message that
//    the catalogue is already open. Opening never truncates or rewrites the
//    file, whatever its length.
//  - recordCount() is the file length divided by 649, rounded to the nearest
//    whole number with halves going to the even one, taken at open() and kept
//    up to date by writes.
//  - writeRecord() writes the whole record or reports the failure, and a
//    failed write leaves the record and the file length as they were. It takes
//    the numbers 1 to recordCount()+1 only.
//  - A crash (even a power cut) during writeRecord() leaves the record either
//    as it was or as written: the bytes about to be overwritten go to the
//    journal "Tavlen.jnl" first (MasterJournal), and open() puts them back
//    when a write did not finish. The master file's format is unchanged.
//  - Every operation on a closed file reports a failure (reads give pastEnd()).
#include <cstdint>
#include <optional>
#include <string>

#include "data/film_record.h"
#include "data/io_result.h"
#include "data/master_journal.h"

namespace reel {

class MasterFile {
  public:
    static constexpr const char* FileName = "Tavlen.Dat";

    explicit MasterFile(std::string directory = ".");
    ~MasterFile();
    MasterFile(const MasterFile&) = delete;
    MasterFile& operator=(const MasterFile&) = delete;

    // Opens (creating when missing) and locks the file. Opening an open file
    // closes it first.
    IoResult open();
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // REQUIRES: n >= 1. Beyond the end: FilmRecord::pastEnd(). A partial last
    // record is completed with spaces and CR LF.
    FilmRecord readRecord(std::int32_t n) const;
    // Refuses n < 1 and n > recordCount()+1. Writing record recordCount()+1
    // grows the file; the rest of a partial last record is filled with blanks.
    IoResult writeRecord(std::int32_t n, const FilmRecord& record);
    // Writes a blank record at n.
    IoResult blankRecord(std::int32_t n);

    std::int32_t recordCount() const { return recordCount_; }
    // The number a new film takes: the first free record, else recordCount()+1.
    std::int32_t freeSlot() const;

    std::string path() const;
    std::string journalPath() const;

  private:
    std::string directory_;
    int fd_ = -1;
    std::int32_t recordCount_ = 0;
    MasterJournal journal_;
    // The undo of a failed write that could not be put back yet (it is also
    // in the journal, for the next open).
    std::optional<JournalEntry> unfinished_;
};

// Length in bytes -> number of records, halves rounded to even.
std::int32_t recordCountForLength(std::int64_t length);

}  // namespace reel
