#include "data/master_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "record_printing.h"
#include "temp_dir.h"
#include "unprivileged.h"

namespace reel {
namespace {

using testing::handToUnprivilegedUser;
using testing::runUnprivileged;
using testing::TempDir;

FilmRecord film(const std::string& title) {
    FilmRecord record;
    record.set(Field::Title, title);
    record.set(Field::Director, "Director of " + title);
    return record;
}

// Opens a catalogue in `dir` holding the films titled 1..count.
void fillWithFilms(MasterFile& master, int count) {
    ASSERT_TRUE(master.open());
    for (int n = 1; n <= count; ++n)
        ASSERT_TRUE(master.writeRecord(n, film("Film " + std::to_string(n))));
}

TEST(RecordCount, RoundsTheLengthToTheNearestRecord) {
    struct Case {
        std::int64_t length;
        std::int32_t records;
    } cases[] = {
        {0, 0},
        {324, 0},
        {325, 1},
        {649, 1},
        {10 * 649 + 300, 10},
        {10 * 649 + 324, 10},
        {10 * 649 + 325, 11},
        {10 * 649 + 400, 11},
        {649LL * 3000000000LL, 2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(recordCountForLength(c.length), c.records) << c.length;
}

TEST(MasterFile, OpeningCreatesAnEmptyCatalogue) {
    TempDir dir;
    MasterFile master(dir.path());
    ASSERT_TRUE(master.open());
    EXPECT_TRUE(std::filesystem::exists(dir.file("Tavlen.Dat")));
    EXPECT_EQ(master.recordCount(), 0);
    EXPECT_EQ(master.freeSlot(), 1);
    EXPECT_TRUE(master.readRecord(1).isPastEnd());
    EXPECT_EQ(master.path(), dir.file("Tavlen.Dat"));
}

TEST(MasterFile, OpeningKeepsAFileWithAPartialRecordAsItIs) {
    for (const std::int64_t extra : {300, 400}) {
        TempDir dir;
        std::string bytes;
        for (int n = 1; n <= 10; ++n) bytes += film("Film " + std::to_string(n)).bytes();
        bytes += std::string(static_cast<std::size_t>(extra), 'x');
        dir.write("Tavlen.Dat", bytes);

        MasterFile master(dir.path());
        ASSERT_TRUE(master.open());
        EXPECT_EQ(master.recordCount(), extra == 300 ? 10 : 11);
        master.close();
        EXPECT_EQ(dir.read("Tavlen.Dat"), bytes) << extra;
    }
}

TEST(MasterFile, PartialLastRecordReadsCompletedWithBlanks) {
    TempDir dir;
    dir.write("Tavlen.Dat", film("Whole").bytes() + std::string(400, 'p'));
    MasterFile master(dir.path());
    ASSERT_TRUE(master.open());
    const FilmRecord partial = master.readRecord(2);
    EXPECT_FALSE(partial.isPastEnd());
    EXPECT_EQ(partial.field(Field::Title), std::string(40, 'p'));
    EXPECT_EQ(partial.bytes().substr(400), std::string(247, ' ') + "\r\n");
    EXPECT_TRUE(master.readRecord(3).isPastEnd());
}

TEST(MasterFile, WritesReadBackAndExtendTheCount) {
    TempDir dir;
    MasterFile master(dir.path());
    fillWithFilms(master, 1);
    EXPECT_EQ(master.recordCount(), 1);
    EXPECT_EQ(master.freeSlot(), 2);
    ASSERT_TRUE(master.writeRecord(2, film("Second")));
    EXPECT_EQ(master.recordCount(), 2);
    EXPECT_EQ(master.readRecord(1), film("Film 1"));
    EXPECT_EQ(master.readRecord(2), film("Second"));
    EXPECT_EQ(std::filesystem::file_size(dir.file("Tavlen.Dat")), 2u * 649u);
}

TEST(MasterFile, FreeSlotReusesDeletedRecordsLowestFirst) {
    TempDir dir;
    MasterFile master(dir.path());
    fillWithFilms(master, 10);
    ASSERT_TRUE(master.blankRecord(7));
    ASSERT_TRUE(master.blankRecord(4));
    EXPECT_EQ(master.recordCount(), 10);
    EXPECT_EQ(std::filesystem::file_size(dir.file("Tavlen.Dat")), 10u * 649u);
    EXPECT_EQ(master.readRecord(4), FilmRecord());
    EXPECT_EQ(master.freeSlot(), 4);
    ASSERT_TRUE(master.writeRecord(4, film("New A")));
    EXPECT_EQ(master.freeSlot(), 7);
    ASSERT_TRUE(master.writeRecord(7, film("New B")));
    EXPECT_EQ(master.freeSlot(), 11);
    EXPECT_EQ(master.readRecord(5), film("Film 5"));
}

TEST(MasterFile, BlankTitleWithOtherFieldsCountsAsFree) {
    TempDir dir;
    MasterFile master(dir.path());
    fillWithFilms(master, 3);
    FilmRecord untitled;
    untitled.set(Field::Director, "Left behind");
    ASSERT_TRUE(master.writeRecord(2, untitled));
    EXPECT_EQ(master.freeSlot(), 2);
}

TEST(MasterFile, WritingAfterAPartialLastRecordFillsItsRestWithBlanks) {
    TempDir dir;
    dir.write("Tavlen.Dat", film("One").bytes() + std::string(400, 'z'));
    MasterFile master(dir.path());
    ASSERT_TRUE(master.open());
    ASSERT_EQ(master.recordCount(), 2);
    ASSERT_TRUE(master.writeRecord(3, film("Three")));
    EXPECT_EQ(master.recordCount(), 3);
    const std::string bytes = dir.read("Tavlen.Dat");
    ASSERT_EQ(bytes.size(), 3u * 649u);
    // The stray bytes after record 1 are kept; the rest of record 2 reads blank.
    EXPECT_EQ(bytes.substr(649, 400), std::string(400, 'z'));
    EXPECT_EQ(bytes.substr(1049, 649 - 400), FilmRecord().bytes().substr(400));
    EXPECT_EQ(master.readRecord(3), film("Three"));
}

// A number from a damaged index must not grow the file by blank records (nor
// build them in memory first).
TEST(MasterFile, WritesBeyondTheRecordAfterTheLastAreRefused) {
    TempDir dir;
    MasterFile master(dir.path());
    fillWithFilms(master, 54);
    const std::string before = dir.read("Tavlen.Dat");
    for (const std::int32_t n : {56, 60, 100000, 999999999, 2147483647}) {
        const IoResult refused = master.writeRecord(n, film("Stray"));
        EXPECT_FALSE(refused) << n;
        EXPECT_NE(refused.message.find("Record " + std::to_string(n)), std::string::npos)
            << refused.message;
        EXPECT_EQ(master.recordCount(), 54);
    }
    EXPECT_EQ(dir.read("Tavlen.Dat"), before);
    EXPECT_TRUE(master.writeRecord(55, film("Next")));
    EXPECT_EQ(master.recordCount(), 55);
}

// A crash during a Save leaves a journal beside the master file. Whatever
// instant it struck, opening the catalogue again gives every record either
// as it was or as saved, never torn.
TEST(MasterFile, OpenUndoesASaveThatACrashCutShort) {
    const std::string one = film("One").bytes();
    const std::string two = film("Two").bytes();
    const std::string torn2 = film("Changed").bytes().substr(0, 300) + two.substr(300);
    const std::string torn3 = film("Third").bytes().substr(0, 200);
    JournalEntry in2{2, 2 * 649, two};
    JournalEntry at3{3, 2 * 649, FilmRecord().bytes()};
    std::string wholeJournal = journalBytes(in2);
    std::string badSum = wholeJournal;
    badSum[100] ^= 1;
    struct Case {
        const char* instant;
        std::string master;   // as the crash left it
        std::string journal;  // as the crash left it
        std::string expected;
    } cases[] = {
        {"journal half written", one + two, wholeJournal.substr(0, 300), one + two},
        {"journal of old and new bytes", one + two, badSum, one + two},
        {"record half overwritten", one + torn2, wholeJournal, one + two},
        {"record fully overwritten", one + film("Changed").bytes(), wholeJournal, one + two},
        {"new record half appended", one + two + torn3, journalBytes(at3), one + two},
        {"journal emptied", one + film("Changed").bytes(), "", one + film("Changed").bytes()},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("Tavlen.Dat", c.master);
        dir.write("Tavlen.jnl", c.journal);
        MasterFile master(dir.path());
        ASSERT_TRUE(master.open()) << c.instant;
        EXPECT_EQ(master.recordCount(), recordCountForLength(static_cast<std::int64_t>(c.expected.size())));
        master.close();
        EXPECT_EQ(dir.read("Tavlen.Dat"), c.expected) << c.instant;
        EXPECT_FALSE(std::filesystem::exists(dir.file("Tavlen.jnl"))) << c.instant;
    }
}

TEST(MasterFile, SavesLeaveNoJournalBehind) {
    TempDir dir;
    MasterFile master(dir.path());
    fillWithFilms(master, 3);
    ASSERT_TRUE(master.writeRecord(2, film("Again")));
    EXPECT_EQ(std::filesystem::file_size(dir.file("Tavlen.jnl")), 0u);
    master.close();
    EXPECT_FALSE(std::filesystem::exists(dir.file("Tavlen.jnl")));
}

TEST(MasterFile, SecondOpenOfTheSameCatalogueIsRefused) {
    TempDir dir;
    MasterFile first(dir.path());
    ASSERT_TRUE(first.open());
    MasterFile second(dir.path());
    const IoResult refused = second.open();
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("already open"), std::string::npos) << refused.message;
    EXPECT_NE(refused.message.find(dir.file("Tavlen.Dat")), std::string::npos);
    EXPECT_FALSE(second.isOpen());

    first.close();
    EXPECT_TRUE(second.open());
}

TEST(MasterFile, OpenFailureNamesTheFileAndTheReason) {
    TempDir dir;
    struct Case {
        std::string directory;
        const char* reason;
    } cases[] = {
        {dir.file("missing-folder"), "No such file or directory"},
        {dir.path(), "Is a directory"},  // Tavlen.Dat made a folder below
    };
    std::filesystem::create_directory(dir.file("Tavlen.Dat"));
    for (const auto& c : cases) {
        MasterFile master(c.directory);
        const IoResult result = master.open();
        EXPECT_FALSE(result);
        EXPECT_FALSE(master.isOpen());
        EXPECT_NE(result.message.find(c.directory + "/Tavlen.Dat"), std::string::npos)
            << result.message;
        EXPECT_NE(result.message.find(c.reason), std::string::npos) << result.message;
    }
}

// Root may create files in a read-only folder: the check runs as an
// unprivileged user then.
TEST(MasterFile, ReadOnlyFolderGivesAFailureAndCreatesNothing) {
    TempDir dir;
    ASSERT_TRUE(handToUnprivilegedUser(dir.path()));
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::string seen = runUnprivileged([&] {
        MasterFile master(dir.path());
        const IoResult result = master.open();
        return std::string(result || master.isOpen() ? "opened: " : "failed: ") + result.message;
    });
    EXPECT_EQ(seen.rfind("failed: ", 0), 0u) << seen;
    EXPECT_NE(seen.find("Permission denied"), std::string::npos) << seen;
    EXPECT_FALSE(std::filesystem::exists(dir.file("Tavlen.Dat")));
}

TEST(MasterFile, FullDeviceReportsTheWriteAsFailed) {
    TempDir dir;
    std::filesystem::create_symlink("/dev/full", dir.file("Tavlen.Dat"));
    MasterFile master(dir.path());
    ASSERT_TRUE(master.open());
    const IoResult result = master.writeRecord(1, film("Lost"));
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("No space left on device"), std::string::npos) << result.message;
    EXPECT_EQ(master.recordCount(), 0);
}

// A file size limit cuts a growing write short part of the way through a
// record, whoever runs the test; the record must not be left half-written.
TEST(MasterFile, ShortWriteIsReportedAndTakenBack) {
    TempDir dir;
    MasterFile master(dir.path());
    fillWithFilms(master, 2);
    const std::string before = dir.read("Tavlen.Dat");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 2 * 649 + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const IoResult result = master.writeRecord(3, film("Too big"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("Record 3"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(dir.file("Tavlen.Dat")), std::string::npos);
    EXPECT_EQ(dir.read("Tavlen.Dat"), before);
    EXPECT_EQ(master.recordCount(), 2);
    EXPECT_EQ(master.freeSlot(), 3);
}

TEST(MasterFile, ClosedFileRefusesWrites) {
    TempDir dir;
    MasterFile master(dir.path());
    EXPECT_FALSE(master.writeRecord(1, film("x")));
    EXPECT_TRUE(master.readRecord(1).isPastEnd());
    ASSERT_TRUE(master.open());
    EXPECT_FALSE(master.writeRecord(0, film("x")));
    EXPECT_EQ(master.recordCount(), 0);
}

}  // namespace
}  // namespace reel
