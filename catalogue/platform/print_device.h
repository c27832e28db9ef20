#pragma once
// The printer as reports see it: a page of fixed-pitch character cells.
// Implementations: the Qt printer (a CUPS printer or a PDF file) and a
// recording device for tests. The report code that drives it comes with the
// printed reports.
#include <string>
#include <string_view>

namespace reel {

class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    virtual void setFont(std::string_view family, int pointSize) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    // Moves to 1-based column `column` of the current line; a column left of
    // the current position moves to that column of the next line.
    virtual void tab(int column) = 0;
    virtual void print(std::string_view text) = 0;  // UTF-8, advances the column
    virtual void newLine() = 0;
    virtual void newPage() = 0;
    // Finishes the document; false (with error()) when it could not be written.
    virtual bool endDocument() = 0;
    virtual std::string error() const = 0;
    // Where the document went: a printer name or a PDF file path.
    virtual std::string destination() const = 0;
};

}  // namespace reel
