// The catalogue's writes under injected faults: a full disk, an I/O error or
// a kill at every numbered file call of an index build, a Save and a backup
// copy, each run in a child process under the fault_inject preload. After
// every run nothing may be lost:
//  - the master file holds every record either as it was or as saved (after
//    the next open has undone a Save cut short), and a Save reported as done
//    is there, one reported as failed is not;
//  - every index and its count file agree: the count says "0" (not built) or
//    the pair is the one of the last build or of this one;
//  - a backup copy is the old file or the whole new one;
//  - a run that failed leaves no stray file; a killed one leaves at most a
//    temporary file that the next run of the same kind removes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "child_process.h"
#include "data/count_files.h"
#include "data/master_file.h"

namespace fs = std::filesystem;
using fault_inject::ChildResult;
using fault_inject::Fault;

namespace reel {
namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::string engineLibrary() {
    const char* dir = std::getenv("REELBOOK_LIB_DIR");
    return dir && *dir ? std::string(dir) + "/libsorvel32.so" : "libsorvel32.so";
}

std::string sampleFolder() {
    const char* share = std::getenv("REELBOOK_SHARE_DIR");
    return std::string(share ? share : "") + "/sample";
}

// The faults tried at each numbered call: a disk that stays full, one
// failing call, and a kill just before the call.
const Fault Kinds[] = {{"any", 0, "enospc", true}, {"any", 0, "eio", false}, {"any", 0, "kill", false}};

class CatalogueFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("reel-faults-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // A fresh copy of `from` at root/name.
    fs::path copyOf(const fs::path& from, const std::string& name) {
        const fs::path to = root_ / name;
        fs::remove_all(to);
        fs::copy(from, to, fs::copy_options::recursive);
        return to;
    }

    ChildResult run(const std::vector<std::string>& args, const Fault& fault) {
        std::vector<std::string> argv = {FAULT_DRIVER};
        argv.insert(argv.end(), args.begin(), args.end());
        return fault_inject::run_child(argv, fault_inject::preload_environment(fault, counts()));
    }
    // How many calls a run makes without a fault.
    long callsOf(const std::vector<std::string>& args) {
        const ChildResult clean = run(args, {"any", 0, "enospc", false});
        EXPECT_TRUE(clean.exited && clean.code == 0) << clean.output;
        return fault_inject::read_counts(counts())["any"];
    }
    std::string counts() const { return (root_ / "counts").string(); }

    // Figures for the failure message of a sweep.
    struct Tally {
        int runs = 0, failed = 0, killed = 0;
        std::string text() const {
            return std::to_string(runs) + " runs, " + std::to_string(failed) + " reported failures, " +
                   std::to_string(killed) + " kills";
        }
    };
    void note(Tally& tally, const ChildResult& result) {
        tally.runs += 1;
        if (!result.exited) tally.killed += 1;
        else if (result.code != 0) tally.failed += 1;
    }

    fs::path root_;
};

// ---------------------------------------------------------------- Save ---

TEST_F(CatalogueFaults, SaveLeavesEveryRecordOldOrNew) {
    const fs::path base = root_ / "base";
    fs::create_directories(base);
    {
        MasterFile master(base.string());
        ASSERT_TRUE(master.open());
        for (int n = 1; n <= 10; ++n) {
            FilmRecord film;
            film.set(Field::Title, "Film " + std::to_string(n));
            ASSERT_TRUE(master.writeRecord(n, film));
        }
    }
    const std::string before = readFile(base / "Tavlen.Dat");
    // An edit in place and a new film after the last.
    for (const int record : {4, 11}) {
        SCOPED_TRACE("record " + std::to_string(record));
        const std::vector<std::string> args = {"save", "", std::to_string(record), "Saved"};
        std::vector<std::string> clean = args;
        clean[1] = copyOf(base, "clean").string();
        const long calls = callsOf(clean);
        const std::string after = readFile(fs::path(clean[1]) / "Tavlen.Dat");
        ASSERT_NE(after, before);
        ASSERT_GT(calls, 3);

        Tally tally;
        for (const Fault& kind : Kinds) {
            for (long at = 1; at <= calls; ++at) {
                SCOPED_TRACE(kind.kind + " at call " + std::to_string(at));
                std::vector<std::string> faulty = args;
                faulty[1] = copyOf(base, "run").string();
                Fault fault = kind;
                fault.at = at;
                const ChildResult result = run(faulty, fault);
                note(tally, result);
                ASSERT_TRUE(!result.exited || result.code == 0 || result.code == 1) << result.output;

                // The next start of the program.
                MasterFile master(faulty[1]);
                ASSERT_TRUE(master.open());
                master.close();
                const std::string now = readFile(fs::path(faulty[1]) / "Tavlen.Dat");
                // A failure says so when the record could not even be put back.
                const bool either = !result.exited ||
                                    result.output.find("may hold") != std::string::npos;
                if (result.exited && result.code == 0) EXPECT_TRUE(now == after);
                else if (either) EXPECT_TRUE(now == before || now == after);
                else EXPECT_TRUE(now == before) << result.output;
                EXPECT_EQ(listing(faulty[1]), std::set<std::string>{"Tavlen.Dat"});
            }
        }
        EXPECT_EQ(tally.runs, 3 * calls) << tally.text();
        EXPECT_EQ(tally.killed, calls) << tally.text();
        std::printf("Save of record %d: %ld calls, %s, records lost: none\n", record, calls,
                    tally.text().c_str());
    }
}

// -------------------------------------------------------- backup copy ---

TEST_F(CatalogueFaults, BackupCopyIsTheOldFileOrTheWholeNewOne) {
    const fs::path source = fs::path(sampleFolder()) / "Tavlen.Dat";
    ASSERT_TRUE(fs::exists(source)) << source;
    const std::string fresh = readFile(source);
    const fs::path floppy = root_ / "floppy-base";
    fs::create_directories(floppy);
    const std::string old = fresh.substr(0, 649 * 3);
    std::ofstream(floppy / "Tavlen.Dat", std::ios::binary) << old;

    const long calls = callsOf({"copy", source.string(), copyOf(floppy, "clean").string() + "/Tavlen.Dat"});
    ASSERT_GT(calls, 2);
    Tally tally;
    for (const Fault& kind : Kinds) {
        for (long at = 1; at <= calls; ++at) {
            SCOPED_TRACE(kind.kind + " at call " + std::to_string(at));
            const fs::path target = copyOf(floppy, "run");
            Fault fault = kind;
            fault.at = at;
            const ChildResult result = run({"copy", source.string(), (target / "Tavlen.Dat").string()}, fault);
            note(tally, result);
            const std::string now = readFile(target / "Tavlen.Dat");
            if (result.exited) {
                EXPECT_TRUE(now == (result.code == 0 ? fresh : old)) << result.output;
                EXPECT_EQ(listing(target), std::set<std::string>{"Tavlen.Dat"});
            } else {
                EXPECT_TRUE(now == old || now == fresh);
                // The next copy clears what the killed one left.
                const ChildResult again = run({"copy", source.string(), (target / "Tavlen.Dat").string()},
                                              {"any", 0, "enospc", false});
                EXPECT_EQ(again.code, 0) << again.output;
                EXPECT_EQ(listing(target), std::set<std::string>{"Tavlen.Dat"});
            }
        }
    }
    std::printf("Backup copy: %ld calls, %s, copies lost or torn: none\n", calls, tally.text().c_str());
}

// -------------------------------------------------------- index build ---

struct IndexPair {
    std::string index, count;
    bool operator==(const IndexPair&) const = default;
};

// Failures name the count and the size, not the bytes.
void PrintTo(const IndexPair& pair, std::ostream* out) {
    *out << "count " << pair.count << ", " << pair.index.size() << " bytes";
}

const char* const Indexes[][2] = {{"Titleqen.Dat", "Titleqen"},
                                  {"DVDqen.Dat", "DVDqen"},
                                  {"Laserqen.Dat", "Laserqen"},
                                  {"VHSqen.Dat", "VHSqen"}};

std::vector<IndexPair> pairsIn(const fs::path& folder) {
    std::vector<IndexPair> pairs;
    for (const auto& names : Indexes)
        pairs.push_back({readFile(folder / names[0]), readCountFile(folder.string(), names[1])});
    return pairs;
}

TEST_F(CatalogueFaults, IndexBuildKeepsEveryIndexBesideItsCount) {
    // A catalogue whose indexes were built, then a film added, so that a
    // new build changes every index but the laser discs'.
    const fs::path base = copyOf(sampleFolder(), "base");
    std::ofstream(base / "Fo", std::ios::binary) << "NO\r\n";
    const std::string engine = engineLibrary();
    ASSERT_EQ(run({"build", base.string(), engine}, {}).code, 0);
    {
        MasterFile master(base.string());
        ASSERT_TRUE(master.open());
        FilmRecord film;
        film.set(Field::Title, "Aardvark Nights");
        film.set(Field::Format, "D");
        ASSERT_TRUE(master.writeRecord(master.recordCount() + 1, film));
    }
    const std::vector<IndexPair> oldPairs = pairsIn(base);
    const std::string master = readFile(base / "Tavlen.Dat");

    const fs::path clean = copyOf(base, "clean");
    const long calls = callsOf({"build", clean.string(), engine});
    const std::vector<IndexPair> newPairs = pairsIn(clean);
    const std::set<std::string> files = listing(clean);
    ASSERT_NE(oldPairs[0], newPairs[0]);
    ASSERT_GT(calls, 8);

    Tally tally;
    for (const Fault& kind : Kinds) {
        for (long at = 1; at <= calls; ++at) {
            SCOPED_TRACE(kind.kind + " at call " + std::to_string(at));
            const fs::path folder = copyOf(base, "run");
            Fault fault = kind;
            fault.at = at;
            const ChildResult result = run({"build", folder.string(), engine}, fault);
            note(tally, result);
            EXPECT_TRUE(readFile(folder / "Tavlen.Dat") == master);
            const std::vector<IndexPair> now = pairsIn(folder);
            for (std::size_t i = 0; i < now.size(); ++i) {
                SCOPED_TRACE(Indexes[i][0]);
                if (result.exited && result.code == 0) {
                    EXPECT_EQ(now[i], newPairs[i]) << result.output;
                } else if (now[i].count == "0") {
                    // Not built: the guards offer a build; the file itself
                    // is still one of the two whole indexes.
                    EXPECT_TRUE(now[i].index == oldPairs[i].index || now[i].index == newPairs[i].index);
                } else {
                    EXPECT_TRUE(now[i] == oldPairs[i] || now[i] == newPairs[i]);
                }
            }
            if (result.exited) {
                EXPECT_EQ(listing(folder), files) << result.output;
            } else {
                // The next build leaves the folder as a clean one does.
                const ChildResult again = run({"build", folder.string(), engine}, {});
                EXPECT_EQ(again.code, 0) << again.output;
                EXPECT_EQ(listing(folder), files);
                EXPECT_TRUE(pairsIn(folder) == newPairs);
            }
        }
    }
    std::printf("Index build: %ld calls, %s, indexes lost or out of step: none\n", calls,
                tally.text().c_str());
}

}  // namespace
}  // namespace reel
