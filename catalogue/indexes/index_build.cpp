// "Sort All Files": the four index files and their count files rebuilt by
// four runs of the sort engine over the master file, in the order titles,
// DVD, laser disc, VHS. The runs do not depend on each other: a failing run
// is followed by the next one, and the user is told about every failure at
// the end.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/program_folders.h"
#include "data/collating_table.h"
#include "data/count_files.h"
#include "data/text_file.h"
#include "indexes/engine_codes.h"
#include "indexes/index_module.h"
#include "indexes/working_directory.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

// Clears the build-in-progress flag however the build ends.
class BuildingFlag {
  public:
    explicit BuildingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BuildingFlag() { flag_ = false; }
    BuildingFlag(const BuildingFlag&) = delete;
    BuildingFlag& operator=(const BuildingFlag&) = delete;

  private:
    bool& flag_;
};

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Whole entries in an index file (a partial one means a torn file: -1),
// 0 for a missing file, -1 when it cannot be examined.
std::int64_t indexEntriesOnDisk(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t length = std::filesystem::file_size(path, ec);
    if (ec) return ec == std::errc::no_such_file_or_directory ? 0 : -1;
    if (length % IndexEntry::Size != 0) return -1;
    return static_cast<std::int64_t>(length / IndexEntry::Size);
}

// A count text as the number it stands for; nothing for anything else.
std::optional<std::int32_t> countNumber(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The engine writes an index under a hidden name beside it (".Titleqen.Dat."
// twelve hex digits ".tmp") and renames it at the end; a build killed just
// before the rename leaves that file. It is nobody's, so the next build of
// the index removes it.
void removeUnfinishedIndex(const std::string& directory, std::string_view indexFile) {
    namespace fs = std::filesystem;
    const std::string prefix = "." + std::string(indexFile) + ".";
    constexpr std::string_view Suffix = ".tmp";
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 12 + Suffix.size() || !name.starts_with(prefix) ||
            !name.ends_with(Suffix))
            continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size(), 12);
        if (digits.find_first_not_of("0123456789abcdef") != std::string_view::npos) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

bool isCollatingTable(const std::string& bytes) {
    return bytes.size() == static_cast<std::size_t>(CollatingTableSize) &&
           static_cast<unsigned char>(bytes[0]) == CollatingTableMarker;
}

}  // namespace

void IndexModule::indexBuild(ScreenContext& screen) {
    // The engine repaints the window while it runs; nothing handled meanwhile
    // may start a second build.
    if (building_) return;
    Platform& platform = screen.platform();
    const MsgResult answer =
        platform.messageBox(std::string(28, ' ') + "Do you want to sort?", MsgIcon::None,
                            MsgButtons::YesNo, SortProgramCaption);
    if (answer != MsgResult::Yes) return;

    // Without the engine nothing is rebuilt, and no index or count file is touched.
    if (!engine_.load()) {
        platform.messageBox(engine_.error() + "\n\nThe indexes were not rebuilt.",
                            MsgIcon::Critical, MsgButtons::Ok, SortProgramCaption);
        return;
    }
    BuildingFlag flag(building_);
    buildIndexes(screen);
}

// A new catalogue has no collating table yet; the engine refuses every
// command naming a missing one. The program ships one; failing that, a
// case-blind table is written (its weights play no part in the title sort).
bool IndexModule::provideCollatingTable(ScreenContext& screen, const std::string& directory,
                                        std::string& problem) {
    namespace fs = std::filesystem;
    const fs::path target = fs::path(directory) / CollatingTableFileName;
    std::error_code ec;
    if (fs::exists(target, ec)) return true;

    const fs::path programDir = screen.platform().programDirectory();
    std::string table;
    for (const fs::path& shipped :
         {fs::path(sharedDataFolder(programDir.string())) / CollatingTableFileName,
          programDir / CollatingTableFileName}) {
        std::optional<std::string> bytes = readWholeFile(shipped);
        if (bytes && isCollatingTable(*bytes)) {
            table = std::move(*bytes);
            break;
        }
    }
    if (table.empty()) table = caseBlindCollatingTable();
    IoResult written = replaceFile(target.string(), table);
    if (!written) problem = written.message;
    return written.ok;
}

// One engine run and its count file, so that the index and its count agree
// whatever happens: the count says "not built" ( 0) while the run is under
// way, so a crash or a kill leaves an index no view will read; the new count
// is written only once the engine has replaced the index whole. A run that
// fails leaves the index of the last build, and its count is put back when
// the file still holds that many entries (else it stays at 0). Gives what
// went wrong, if anything.
std::optional<std::string> IndexModule::buildOneIndex(ScreenContext& screen,
                                                      const std::string& directory,
                                                      const IndexSpec& index) {
    const std::string previous = readCountFile(directory, index.countFile);
    if (IoResult unsorted = writeCountFile(directory, index.countFile, 0); !unsorted)
        return unsorted.message + " The index was not rebuilt; the last one is kept.";

    removeUnfinishedIndex(directory, index.indexFile);
    const EngineResult result = engine_.run(std::string(MasterFileName),
                                            std::string(index.indexFile), controlStatement(index));
    screen.control(Lent::RecordsWritten).text = captionNumber(result.recordsWritten);
    screen.control(Lent::ReturnCode).text = captionNumber(result.returnCode);
    screen.platform().beep();

    const std::int64_t entries = indexEntriesOnDisk(joinPath(directory, index.indexFile));
    std::string problem;
    std::int32_t count = 0;
    if (result.returnCode != 0) {
        problem = "return code " + std::to_string(result.returnCode) + " (" +
                  engineCodeMeaning(result.returnCode) + ")";
        const std::optional<std::int32_t> kept = countNumber(previous);
        if (kept && *kept > 0 && entries == *kept) {
            count = *kept;
            problem += "; the index of the last build is kept.";
        } else {
            problem += "; it counts as not sorted until it is built again.";
        }
    } else if (entries != result.recordsWritten) {
        problem = "the run reported " + std::to_string(result.recordsWritten) +
                  " entries, but the file holds " +
                  (entries < 0 ? std::string("none that can be read") : std::to_string(entries)) +
                  "; it counts as not sorted until it is built again.";
    } else {
        count = result.recordsWritten;
    }
    if (count != 0) {
        if (IoResult counted = writeCountFile(directory, index.countFile, count); !counted) {
            return (problem.empty() ? "" : problem + " ") + counted.message +
                   " The index counts as not sorted until it is built again.";
        }
    }
    if (problem.empty()) return std::nullopt;
    return problem;
}

void IndexModule::buildIndexes(ScreenContext& screen) {
    Platform& platform = screen.platform();
    std::error_code ec;
    const std::string directory =
        std::filesystem::absolute(screen.directory(), ec).lexically_normal().string();

    std::vector<std::string> problems;
    {
        WorkingDirectory inCatalogue(directory);
        if (!inCatalogue.ok()) {
            platform.messageBox(inCatalogue.error() + "\n\nThe indexes were not rebuilt.",
                                MsgIcon::Critical, MsgButtons::Ok, SortProgramCaption);
            return;
        }
        // The views' index file is about to be rewritten.
        closeIndexFile(screen);
        std::string problem;
        if (!provideCollatingTable(screen, directory, problem)) problems.push_back(problem);

        EngineLibrary::HostHook repaintWhileRunning(engine_, platform);
        for (const IndexSpec& index : indexSpecs()) {
            screen.control(Lent::SortingNotice).visible = true;
            screen.control(Lent::SortingNotice).text = "\n\r" + std::string(index.progress);
            if (std::optional<std::string> problem = buildOneIndex(screen, directory, index))
                problems.push_back(std::string(index.indexFile) + ": " + *problem);
        }
    }

    screen.countText()[TitlesCount] = readCountFile(directory, TitleCountFile);
    screen.countText()[LaserCount] = readCountFile(directory, LaserCountFile);
    screen.countText()[VhsCount] = readCountFile(directory, VhsCountFile);
    screen.countText()[DvdCount] = readCountFile(directory, DvdCountFile);
    const auto& c = screen.countText();
    screen.control(Lent::StatusLine).visible = true;
    screen.control(Lent::StatusLine).text = "No. Titles  " + c[TitlesCount] + "  -    No. DVDS  " +
                                            c[DvdCount] + "  -    No.Laser discs  " +
                                            c[LaserCount] + "  -    No.VHS  " + c[VhsCount];

    if (!problems.empty()) {
        std::string text = "Not every index could be built:\n";
        for (const std::string& p : problems) text += "\n" + p;
        platform.messageBox(text, MsgIcon::Exclamation, MsgButtons::Ok, SortProgramCaption);
    }

    // No view or list may go on reading the rewritten files.
    screen.cursor().ViewMode.clear();
    screen.cursor().IndexPosition = 0;
    screen.reset();
}

}  // namespace reel
