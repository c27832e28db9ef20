#include "exchange/exchange_menu.h"

#include <algorithm>
#include <filesystem>

#include "data/count_files.h"
#include "data/text_file.h"
#include "exchange/catalogue_export.h"
#include "exchange/catalogue_import.h"
#include "screen/screen_context.h"

namespace reel::exchange {
namespace {

constexpr std::string_view CsvFilter = "CSV files (*.csv);;All files (*)";

std::string absoluteFolder(const std::string& directory) {
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::absolute(directory, ignored);
    return path.lexically_normal().string();
}

void tell(ScreenContext& screen, const std::string& text, MsgIcon icon) {
    screen.platform().messageBox(text, icon, MsgButtons::Ok, EditionCaption);
}

// The screen cannot work without its master file: when it cannot be opened
// again (another program took it meanwhile), the user may retry or close.
void reopenMaster(ScreenContext& screen) {
    for (;;) {
        const IoResult opened = screen.masterFile().open();
        if (opened) return;
        const MsgResult answer = screen.platform().messageBox(
            opened.message + "\n\nClick Retry to open it again, or Cancel to close the catalogue.",
            MsgIcon::Critical, MsgButtons::RetryCancel, EditionCaption);
        if (answer != MsgResult::Retry) {
            screen.endProgram();
            return;
        }
    }
}

}  // namespace

void exportFromMenu(ScreenContext& screen) {
    const std::string& directory = screen.directory();
    const std::optional<std::string> path = screen.platform().chooseFile(
        Platform::FileChoice::Save, "Export to CSV",
        joinPath(absoluteFolder(directory), "catalogue.csv"), CsvFilter);
    if (!path) return;
    const ExportResult result = exportCatalogueTo(directory, *path);
    if (!result.io) return tell(screen, result.io.message, MsgIcon::Critical);
    tell(screen, exportSummary(result.films, *path), MsgIcon::Information);
}

void importFromMenu(ScreenContext& screen) {
    if (screen.entering()) {
        return tell(screen,
                    "Save the film you are entering or editing (or Reset) before importing.",
                    MsgIcon::Exclamation);
    }
    const std::string& directory = screen.directory();
    const std::optional<std::string> path = screen.platform().chooseFile(
        Platform::FileChoice::Open, "Import from CSV", absoluteFolder(directory), CsvFilter);
    if (!path) return;

    screen.indexes().closeIndexFile(screen);
    screen.masterFile().close();
    const ImportOutcome outcome = importCatalogueFrom(directory, *path);
    reopenMaster(screen);
    if (!screen.masterFile().isOpen()) return;

    const std::int32_t count = screen.masterFile().recordCount();
    screen.setRecordBounds(count, std::max<std::int32_t>(count, 1));
    screen.countText()[TitlesCount] = readCountFile(directory, TitleCountFile);
    screen.countText()[DvdCount] = readCountFile(directory, DvdCountFile);
    screen.countText()[LaserCount] = readCountFile(directory, LaserCountFile);
    screen.countText()[VhsCount] = readCountFile(directory, VhsCountFile);
    screen.control(Lent::StatusLine).text = screen.statusLine();
    screen.reset();

    if (!outcome.ok) {
        std::string text = outcome.message;
        if (!outcome.problems.empty()) text += "\n\n" + listProblems(outcome.problems);
        return tell(screen, text, MsgIcon::Exclamation);
    }
    tell(screen, outcome.message, MsgIcon::Information);
}

}  // namespace reel::exchange
