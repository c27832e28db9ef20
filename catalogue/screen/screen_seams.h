#pragma once
// Seams through which the index views, searches, list views, reports,
// preferences and the CSV exchange plug into the main screen.
//
// The main screen owns the menus and buttons; the work behind some of them
// lives in other modules (catalogue/indexes, catalogue/reports,
// catalogue/prefs, catalogue/exchange). Each module implements one of these
// interfaces and is installed with MainScreen::install() by the composition
// root (catalogue/program). Until a module is installed its menu items and
// buttons do nothing, and the screen's own routines (Reset, Start) treat
// "close the index file" as having nothing to close.
//
// Every call gets the screen as a ScreenContext (screen_context.h): what a
// feature may ask of it, the view cursor, and the controls it lends.
#include <string>

namespace reel {

class ScreenContext;

// Index build, alphabetic views, field and genre searches, list views.
class IndexFeatures {
  public:
    virtual ~IndexFeatures() = default;

    // Closes the index file a view, search or list reads (nothing when none is open).
    virtual void closeIndexFile(ScreenContext&) {}
    // "Sort All Files".
    virtual void indexBuild(ScreenContext&) {}
    // An alphabetic view ("Title", "DVD", "Laser", "VHS") shows the entry at
    // cursor().IndexPosition; the menu items start it, Next and Previous re-enter
    // it after moving IndexPosition (Previous handles the first entry itself).
    virtual void showAlphabetic(ScreenContext&, const std::string& /*view*/) {}
    // The genre search: the menu item starts it (IndexPosition 0); Next and
    // Previous re-enter it after moving IndexPosition, with
    // cursor().GenreBackward telling the direction.
    virtual void genreSearch(ScreenContext&) {}
    // A field search of `kind` ("Title", "Director", "Star", ...), started
    // from its menu item.
    virtual void fieldSearch(ScreenContext&, const std::string& /*kind*/) {}
    // Match: the search of `kind` continues after the record shown. The
    // screen has already added 1 to CurrentRecord and set IndexPosition to 0;
    // the search sets its own continuation mark (clearing the others, and the
    // star search's per-star state) and runs.
    virtual void continueFieldSearch(ScreenContext&, const std::string& /*kind*/) {}
    // Twenty-row list views: "Title", "DVD", "Laser", "VHS", "Genre".
    virtual void openList(ScreenContext&, const std::string& /*kind*/) {}
    virtual void nextPage(ScreenContext&) {}
    virtual void previousPage(ScreenContext&) {}
    // Reset clears the list-view bookkeeping the screen does not hold itself.
    virtual void resetListView(ScreenContext&) {}
};

enum class ReportKind { FullList, AllTitles, Laser, Vhs, Dvd, ByDirector, ByStars, ByGenre };

// Printer set-up and the printed reports of the File menu.
class ReportFeatures {
  public:
    virtual ~ReportFeatures() = default;
    virtual void setupPrinter(ScreenContext&) {}
    virtual void printReport(ScreenContext&, ReportKind) {}
};

// CSV export and import, from the File menu.
class ExchangeFeatures {
  public:
    virtual ~ExchangeFeatures() = default;
    virtual void exportCatalogue(ScreenContext&) {}
    virtual void importCatalogue(ScreenContext&) {}
};

// The File menu items the exchange serves; the screen builds them after its
// own items.
namespace exchange {
inline constexpr const char* ExportMenuItem = "mnuExportCsv";
inline constexpr const char* ImportMenuItem = "mnuImportCsv";
inline constexpr const char* ExportCaption = "Export to CSV\u2026";
inline constexpr const char* ImportCaption = "Import from CSV\u2026";
}  // namespace exchange

enum class ColourGroup { Background, TextBoxBack, Text, Label };

// Program colours and the backup copy.
class PreferenceFeatures {
  public:
    virtual ~PreferenceFeatures() = default;
    virtual void chooseColour(ScreenContext&, ColourGroup) {}
    virtual void defaultColours(ScreenContext&) {}
    virtual void copyFiles(ScreenContext&) {}
};

}  // namespace reel
