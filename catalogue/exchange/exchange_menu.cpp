#include "exchange/exchange_menu.h"

#include <algorithm>
#include <filesystem>

#include "data/count_files.h"
#include "data/text_file.h"
#include "exchange/catalogue_export.h"
#include "exchange/catalogue_import.h"
#include "screen/main_screen.h"

namespace reel::exchange {
namespace {

constexpr std::string_view CsvFilter = "CSV files (*.csv);;All files (*)";

std::string absoluteFolder(const std::string& directory) {
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::absolute(directory, ignored);
    return path.lexically_normal().string();
}

void tell(MainScreen& screen, const std::string& text, MsgIcon icon) {
    screen.platform().messageBox(text, icon, MsgButtons::Ok, EditionCaption);
}

// The screen cannot work without its master file: when it cannot be opened
// again (another program took it meanwhile), the user may retry or close.
void reopenMaster(MainScreen& screen) {
    for (;;) {
        const IoResult opened = screen.master.open();
        if (opened) return;
        const MsgResult answer = screen.platform().messageBox(
            opened.message + "\n\nClick Retry to open it again, or Cancel to close the catalogue.",
            MsgIcon::Critical, MsgButtons::RetryCancel, EditionCaption);
        if (answer != MsgResult::Retry) {
            screen.app().endProgram();
            return;
        }
    }
}

}  // namespace

void exportFromMenu(MainScreen& screen) {
    const std::string& directory = screen.app().directory;
    const std::optional<std::string> path = screen.platform().chooseFile(
        Platform::FileChoice::Save, "Export to CSV",
        joinPath(absoluteFolder(directory), "catalogue.csv"), CsvFilter);
    if (!path) return;
    const ExportResult result = exportCatalogueTo(directory, *path);
    if (!result.io) return tell(screen, result.io.message, MsgIcon::Critical);
    tell(screen, exportSummary(result.films, *path), MsgIcon::Information);
}

void importFromMenu(MainScreen& screen) {
    if (screen.state.EntryMode) {
        return tell(screen,
                    "Save the film you are entering or editing (or Reset) before importing.",
                    MsgIcon::Exclamation);
    }
    const std::string& directory = screen.app().directory;
    const std::optional<std::string> path = screen.platform().chooseFile(
        Platform::FileChoice::Open, "Import from CSV", absoluteFolder(directory), CsvFilter);
    if (!path) return;

    screen.indexFeatures().closeIndexFile(screen);
    screen.master.close();
    const ImportOutcome outcome = importCatalogueFrom(directory, *path);
    reopenMaster(screen);
    if (!screen.master.isOpen()) return;

    ScreenState& state = screen.state;
    state.RecordCount = screen.master.recordCount();
    state.LastRecord = std::max<std::int32_t>(state.RecordCount, 1);
    state.CountText[TitlesCount] = readCountFile(directory, TitleCountFile);
    state.CountText[DvdCount] = readCountFile(directory, DvdCountFile);
    state.CountText[LaserCount] = readCountFile(directory, LaserCountFile);
    state.CountText[VhsCount] = readCountFile(directory, VhsCountFile);
    screen["lblsorted"].text = screen.statusLine();
    screen.reset();

    if (!outcome.ok) {
        std::string text = outcome.message;
        if (!outcome.problems.empty()) text += "\n\n" + listProblems(outcome.problems);
        return tell(screen, text, MsgIcon::Exclamation);
    }
    tell(screen, outcome.message, MsgIcon::Information);
}

}  // namespace reel::exchange
