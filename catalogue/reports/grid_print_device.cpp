#include "reports/grid_print_device.h"

namespace reel {

namespace {

std::vector<std::pair<int, int>> spansOf(const std::vector<GridCell>& cells,
                                         bool GridCell::*attribute) {
    std::vector<std::pair<int, int>> spans;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        const GridCell& c = cells[static_cast<std::size_t>(i)];
        if (!c.printed || !(c.*attribute)) continue;
        if (!spans.empty() && spans.back().second == i) {
            spans.back().second = i + 1;
        } else {
            spans.emplace_back(i + 1, i + 1);
        }
    }
    return spans;
}

}  // namespace

std::vector<std::string> utf8Characters(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        out.emplace_back(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string GridLine::text() const {
    std::size_t end = cells.size();
    while (end > 0 && !cells[end - 1].printed) --end;
    std::string s;
    for (std::size_t i = 0; i < end; ++i) s += cells[i].glyph;
    return s;
}

std::vector<std::pair<int, int>> GridLine::boldSpans() const {
    return spansOf(cells, &GridCell::bold);
}

std::vector<std::pair<int, int>> GridLine::underlineSpans() const {
    return spansOf(cells, &GridCell::underline);
}

bool GridLine::empty() const {
    for (const GridCell& c : cells)
        if (c.printed) return false;
    return true;
}

std::vector<std::string> GridPage::texts() const {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const GridLine& line : lines) out.push_back(line.text());
    return out;
}

void GridPrintDevice::fail(std::string message) {
    if (error_.empty()) error_ = message.empty() ? std::string("The printer failed.") : message;
}

void GridPrintDevice::setFont(std::string_view family, int pointSize) {
    family_ = std::string(family);
    pointSize_ = pointSize;
    page_.fontFamily = family_;
    page_.pointSize = pointSize_;
}

GridCell& GridPrintDevice::cellAt(int row, int column) {
    if (static_cast<int>(page_.lines.size()) <= row) page_.lines.resize(row + 1);
    std::vector<GridCell>& cells = page_.lines[static_cast<std::size_t>(row)].cells;
    if (static_cast<int>(cells.size()) < column) cells.resize(column);
    return cells[static_cast<std::size_t>(column - 1)];
}

void GridPrintDevice::tab(int column) {
    if (failed() || closed_) return;
    if (column < 1) column = 1;
    if (column_ > column) ++row_;
    column_ = column;
}

void GridPrintDevice::print(std::string_view text) {
    if (failed() || closed_) return;
    for (std::string& glyph : utf8Characters(text)) {
        breakPageIfFull();
        if (failed()) return;
        GridCell& cell = cellAt(row_, column_);
        cell.glyph = std::move(glyph);
        cell.printed = true;
        cell.bold = bold_;
        cell.underline = underline_;
        ++column_;
    }
}

void GridPrintDevice::newLine() {
    if (failed() || closed_) return;
    ++row_;
    column_ = 1;
}

void GridPrintDevice::breakPageIfFull() {
    if (linesPerPage_ <= 0 || row_ < linesPerPage_) return;
    int carried = row_ - linesPerPage_;
    flushPage();
    row_ = carried;
}

void GridPrintDevice::flushPage() {
    // Keep the page's lines even when only moved over, so the page has its length.
    if (static_cast<int>(page_.lines.size()) < row_) page_.lines.resize(row_);
    if (emitPage(page_)) ++pagesEmitted_;
    page_ = GridPage{};
    page_.fontFamily = family_;
    page_.pointSize = pointSize_;
    row_ = 0;
}

void GridPrintDevice::newPage() {
    if (failed() || closed_) return;
    flushPage();
    column_ = 1;
}

bool GridPrintDevice::endDocument() {
    if (closed_) return !failed();
    if (!failed()) {
        flushPage();
        if (!failed()) finishDocument();
    }
    closed_ = true;
    if (failed()) discardDocument();
    return !failed();
}

void GridPrintDevice::abandon() {
    if (closed_) return;
    closed_ = true;
    discardDocument();
}

}  // namespace reel
