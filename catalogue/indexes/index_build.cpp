// "Sort All Files": the four index files and their count files rebuilt by
// four runs of the sort engine over the master file, in the order titles,
// DVD, laser disc, VHS. The runs do not depend on each other: a failing run
// is followed by the next one, and the user is told about every failure at
// the end.
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
#include "screen/main_screen.h"

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

bool isCollatingTable(const std::string& bytes) {
    return bytes.size() == static_cast<std::size_t>(CollatingTableSize) &&
           static_cast<unsigned char>(bytes[0]) == CollatingTableMarker;
}

}  // namespace

void IndexModule::indexBuild(MainScreen& screen) {
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
bool IndexModule::provideCollatingTable(MainScreen& screen, const std::string& directory,
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

void IndexModule::buildIndexes(MainScreen& screen) {
    Form& form = screen;
    Platform& platform = screen.platform();
    ScreenState& state = screen.state;
    std::error_code ec;
    const std::string directory =
        std::filesystem::absolute(screen.app().directory, ec).lexically_normal().string();

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
            form["lblSorting"].visible = true;
            form["lblSorting"].text = "\n\r" + std::string(index.progress);
            const EngineResult result = engine_.run(
                std::string(MasterFileName), std::string(index.indexFile), controlStatement(index));
            form["lblNumrec"].text = captionNumber(result.recordsWritten);
            form["lblRetcode"].text = captionNumber(result.returnCode);
            platform.beep();

            // A failed run leaves no usable index: its count says "not built".
            const bool failed = result.returnCode != 0;
            if (failed) {
                problems.push_back(std::string(index.indexFile) + ": return code " +
                                   std::to_string(result.returnCode) + " (" +
                                   engineCodeMeaning(result.returnCode) + ")");
            }
            IoResult counted =
                writeCountFile(directory, index.countFile, failed ? 0 : result.recordsWritten);
            if (!counted) problems.push_back(counted.message);
        }
    }

    state.CountText[TitlesCount] = readCountFile(directory, TitleCountFile);
    state.CountText[LaserCount] = readCountFile(directory, LaserCountFile);
    state.CountText[VhsCount] = readCountFile(directory, VhsCountFile);
    state.CountText[DvdCount] = readCountFile(directory, DvdCountFile);
    const auto& c = state.CountText;
    form["lblsorted"].visible = true;
    form["lblsorted"].text = "No. Titles  " + c[TitlesCount] + "  -    No. DVDS  " + c[DvdCount] +
                             "  -    No.Laser discs  " + c[LaserCount] + "  -    No.VHS  " +
                             c[VhsCount];

    if (!problems.empty()) {
        std::string text = "Not every index could be built:\n";
        for (const std::string& p : problems) text += "\n" + p;
        text += "\n\nAn index that failed counts as not sorted until it is built again.";
        platform.messageBox(text, MsgIcon::Exclamation, MsgButtons::Ok, SortProgramCaption);
    }

    // No view or list may go on reading the rewritten files.
    state.ViewMode.clear();
    state.IndexPosition = 0;
    screen.reset();
}

}  // namespace reel
