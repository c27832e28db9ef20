#pragma once
// The printer as reports see it: pages of fixed-pitch character cells.
//
// A report prints statements: items (texts, Tab(n), numbers) that follow one
// another on the current line, ended by newLine(). Column 1 is the left
// margin; every character takes one column. Bold and underline apply to what
// is printed after they are set (blanks included, but not the cells a tab
// skips).
//
// Implementations: the Qt printer (a CUPS printer or a PDF file, in
// catalogue/qt/print) and a recording device for tests
// (tests/support/reports/recording_print_device.h). Both place text on the same
// character grid (catalogue/reports/grid_print_device.h).
//
// Errors: a device that fails (printer gone, file not writable) keeps
// accepting calls but does nothing more and reports the reason in error();
// callers check failed() at convenient points and give up cleanly.
#include <string>
#include <string_view>

namespace reel {

class PrintDevice {
  public:
    virtual ~PrintDevice() = default;
    virtual void setFont(std::string_view family, int pointSize) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    // Moves to 1-based column `column` of the current line; when the print
    // position is already past it, to that column of the next line. A column
    // below 1 counts as 1.
    virtual void tab(int column) = 0;
    virtual void print(std::string_view text) = 0;  // UTF-8, advances the column
    virtual void newLine() = 0;
    virtual void newPage() = 0;
    // Finishes the document; false (with error()) when it could not be written.
    virtual bool endDocument() = 0;
    // Drops the document begun: nothing of it is printed or kept.
    virtual void abandon() = 0;
    virtual std::string error() const = 0;
    // Where the document went: a printer name or a PDF file path.
    virtual std::string destination() const = 0;
    // True when destination() is a file the user should be told about.
    virtual bool destinationIsFile() const { return false; }

    bool failed() const { return !error().empty(); }

    // A number as reports print it: a blank (where a minus sign would stand),
    // the digits and a trailing blank; " 12 ", "-3 ".
    void printNumber(long long n) {
        print((n < 0 ? std::to_string(n) : " " + std::to_string(n)) + " ");
    }

    // Moves the print position down k lines (nothing for k <= 0).
    void advanceLines(int k) {
        for (int i = 0; i < k; ++i) newLine();
    }
};

}  // namespace reel
