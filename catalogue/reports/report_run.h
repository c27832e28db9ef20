#pragma once
// ReportRun: what every report shares while it prints. It owns the print
// device, counts films and page lines, shows each film on the main screen
// before it is printed (the printed words are the screen's words), and ends
// a report: normally (footer, end of document, closing message, Reset) or on
// a printer failure (a clear message, nothing claimed printed, Reset).
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/print_device.h"
#include "reports/print_statement.h"

namespace reel {

class IndexWalk;
class ScreenContext;
class Platform;

inline constexpr const char* PrintProgramTitle = "Reelvane Deluxe Edition Print Program";
inline constexpr const char* ReportFont = "Courier New";
inline constexpr int ReportFontSize = 12;

// The closing message: `opening`, then "There is 1" + `onePage` or
// "There are N pages to print.".
struct ClosingMessage {
    std::string_view opening = "End of file!   Please wait. ";
    std::string_view onePage = " page to print.";
    std::string_view caption = PrintProgramTitle;
    bool beep = true;  // the selective reports beep before their total instead
};

class ReportRun {
  public:
    explicit ReportRun(ScreenContext& screen);
    ~ReportRun();

    ScreenContext& screen;
    Platform& platform;
    int FilmsPrinted = 0;
    int LinesOnPage = 0;

    // Opens the printer for the job. On failure the user is told, the screen
    // is Reset and false comes back.
    bool openPrinter(std::string_view jobName);
    PrintDevice& device() { return *device_; }

    void line(std::initializer_list<PrintItem> items) { printLine(*device_, items); }
    void advanceLines(int k) { device_->advanceLines(k); }
    void bold(bool on) { device_->setBold(on); }
    void underline(bool on) { device_->setUnderline(on); }
    void font() { device_->setFont(ReportFont, ReportFontSize); }
    // Ends the page: new page, PageNumber + 1, LinesOnPage 0.
    void nextPage();

    // Reads master record n, makes it the current record, shows it and lets
    // the window repaint.
    void showFilm(std::int32_t n);

    // True (after telling the user, dropping the document and resetting)
    // when the printer has failed; the report then stops.
    bool printerFailed();

    // The common end: footer Tab(footerColumn) "Page " PageNumber, end of
    // document, beep, closing message, Reset.
    void finish(int footerColumn, const ClosingMessage& closing = {});

    // Drops the begun document (nothing is printed).
    void abandon();

    // True (after dropping the document, telling the user to rebuild the
    // indexes and resetting) when the walk met a damaged index entry.
    bool stoppedByDamage(const IndexWalk& walk);

  private:
    void reportFailure();

    std::unique_ptr<PrintDevice> device_;
};

// Text without blanks at either end.
std::string trimmed(std::string_view text);
// 76 underscores: the rule under a page of films.
std::string rule();

}  // namespace reel
