#pragma once
// GridPrintDevice: the character grid every print device shares.
//
// It turns the print statements of the reports (texts, tabs, line ends,
// bold and underline) into pages of character cells, so that a real printer
// and the test recorder lay out a report identically; subclasses only decide
// what happens to a finished page (paint it, keep it).
//
// Rules:
//  - Every Unicode character takes one cell; cells a tab skips stay empty
//    and carry no attributes.
//  - Tab(n) to a column left of the print position continues in column n of
//    the next line; a column below 1 counts as 1.
//  - With a page length (linesPerPage > 0) a line printed beyond it starts a
//    new page by itself, as a printer ejects a full sheet; lines only moved
//    over (empty lines) never start one.
//  - After a failure (fail()) the device ignores everything but error().
#include <string>
#include <vector>

#include "platform/print_device.h"

namespace reel {

struct GridCell {
    std::string glyph = " ";  // one UTF-8 character
    bool printed = false;     // written by print(), not skipped by a tab
    bool bold = false;
    bool underline = false;
};

struct GridLine {
    std::vector<GridCell> cells;  // cells[0] is column 1

    // The line's characters; unprinted cells at the end are left off.
    std::string text() const;
    // 1-based inclusive column ranges of printed cells with the attribute.
    std::vector<std::pair<int, int>> boldSpans() const;
    std::vector<std::pair<int, int>> underlineSpans() const;
    bool empty() const;
};

struct GridPage {
    std::vector<GridLine> lines;
    std::string fontFamily;  // the font last set on the page
    int pointSize = 0;

    // Texts of all lines, empty lines included.
    std::vector<std::string> texts() const;
};

class GridPrintDevice : public PrintDevice {
  public:
    // linesPerPage 0: pages never fill by themselves.
    explicit GridPrintDevice(int linesPerPage = 0) : linesPerPage_(linesPerPage) {}

    void setFont(std::string_view family, int pointSize) override;
    void setBold(bool on) override { bold_ = on; }
    void setUnderline(bool on) override { underline_ = on; }
    void tab(int column) override;
    void print(std::string_view text) override;
    void newLine() override;
    void newPage() override;
    bool endDocument() override;
    void abandon() override;
    std::string error() const override { return error_; }

    int pagesEmitted() const { return pagesEmitted_; }

  protected:
    void setLinesPerPage(int lines) { linesPerPage_ = lines; }
    // A page is complete. Returns false after calling fail() when it could
    // not be put out.
    virtual bool emitPage(const GridPage& page) = 0;
    // All pages are out: hand the document over. False after fail().
    virtual bool finishDocument() = 0;
    // Nothing of the document may remain.
    virtual void discardDocument() = 0;
    void fail(std::string message);

  private:
    void breakPageIfFull();
    void flushPage();
    GridCell& cellAt(int row, int column);

    int linesPerPage_;
    GridPage page_;
    int row_ = 0;     // 0-based line of the current page
    int column_ = 1;  // 1-based print position
    bool bold_ = false;
    bool underline_ = false;
    std::string family_;
    int pointSize_ = 0;
    int pagesEmitted_ = 0;
    bool closed_ = false;
    std::string error_;
};

// The UTF-8 characters of a text, one string each.
std::vector<std::string> utf8Characters(std::string_view text);

}  // namespace reel
