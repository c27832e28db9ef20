#pragma once
// A catalogue with hand-made index and count files, the reports installed
// and a recording printer behind the scripted platform.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../screen/screen_fixture.h"
#include "reports/recording_print_device.h"
#include "reports/report_features.h"

namespace reel::testing {

// Hands every call to a recorder the test keeps, so the pages outlive the
// report that owns the device.
class ForwardingDevice : public PrintDevice {
  public:
    ForwardingDevice(RecordingPrintDevice& target, std::function<void()> onPrint)
        : target_(target), onPrint_(std::move(onPrint)) {}
    void setFont(std::string_view family, int size) override { target_.setFont(family, size); }
    void setBold(bool on) override { target_.setBold(on); }
    void setUnderline(bool on) override { target_.setUnderline(on); }
    void tab(int column) override { target_.tab(column); }
    void print(std::string_view text) override {
        if (onPrint_) onPrint_();
        target_.print(text);
    }
    void newLine() override { target_.newLine(); }
    void newPage() override { target_.newPage(); }
    bool endDocument() override { return target_.endDocument(); }
    void abandon() override { target_.abandon(); }
    std::string error() const override { return target_.error(); }
    std::string destination() const override { return target_.destination(); }

  private:
    RecordingPrintDevice& target_;
    std::function<void()> onPrint_;
};

// Counts the index module's calls instead of building indexes.
class FakeIndexFeatures : public IndexFeatures {
  public:
    int* closes;
    int* builds;
    FakeIndexFeatures(int* c, int* b) : closes(c), builds(b) {}
    void closeIndexFile(ScreenContext&) override { ++*closes; }
    void indexBuild(ScreenContext&) override { ++*builds; }
};

// A printed line built from texts at their columns: {{3, "Title"}, {44, "Date"}}.
inline std::string at(std::initializer_list<std::pair<int, std::string>> items) {
    std::string line;
    for (const auto& [col, text] : items) {
        if (static_cast<int>(line.size()) < col - 1)
            line.resize(static_cast<std::size_t>(col - 1), ' ');
        line += text;
    }
    return line;
}

struct IndexRow {
    std::string title;
    int record;
};

class ReportTest : public ScreenTest {
  protected:
    void SetUp() override {
        platform.printerFactory = [this](std::string_view job) -> std::unique_ptr<PrintDevice> {
            jobs.emplace_back(job);
            return std::make_unique<ForwardingDevice>(
                printer, [this] { headsWhilePrinting.push_back(main()["lblHead"].text); });
        };
    }

    void start() {
        launchToMain();
        main().install(std::make_unique<FakeIndexFeatures>(&indexCloses, &indexBuilds));
        main().install(std::make_unique<CatalogueReports>());
        platform.messages.clear();
    }

    // Index entries: 40-byte title, 7-digit record number, CR LF.
    void writeIndex(const std::string& name, const std::vector<IndexRow>& rows) {
        std::string bytes;
        for (const IndexRow& row : rows) {
            std::string title = row.title;
            title.resize(40, ' ');
            char number[8];
            std::snprintf(number, sizeof number, "%07d", row.record);
            bytes += title + number + "\r\n";
        }
        writeFile(name, bytes);
    }
    void writeCount(const std::string& name, int count) {
        writeFile(name, " " + std::to_string(count) + "\r\n");
    }

    // `count` films titled "Film 001" ... with their index in record order.
    void catalogueOf(int count, const std::string& format, const std::string& indexFile,
                     const std::string& countFile) {
        std::vector<FilmRecord> films;
        std::vector<IndexRow> rows;
        for (int i = 1; i <= count; ++i) {
            char title[16];
            std::snprintf(title, sizeof title, "Film %03d", i);
            films.push_back(makeFilm({{Field::Title, title},
                                      {Field::Format, format},
                                      {Field::Year, "1950"},
                                      {Field::Genre, "DR"}}));
            rows.push_back({title, i});
        }
        writeFilms(films);
        writeIndex(indexFile, rows);
        writeCount(countFile, count);
    }

    void print(const std::string& menu) { event(menu, EventKind::Click); }

    const std::vector<GridPage>& pages() const { return printer.pages(); }
    std::string lineText(int page, int line) const {
        return pages().at(page).lines.at(line).text();
    }
    // The first line of the page whose text contains `needle`; -1 when none.
    int findLine(int page, const std::string& needle) const {
        const auto& lines = pages().at(page).lines;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].text().find(needle) != std::string::npos) return static_cast<int>(i);
        return -1;
    }
    int column(int page, int line, const std::string& needle) const {
        std::size_t at = lineText(page, line).find(needle);
        return at == std::string::npos ? -1 : static_cast<int>(at) + 1;
    }

    RecordingPrintDevice printer;
    std::vector<std::string> jobs;
    std::vector<std::string> headsWhilePrinting;
    int indexCloses = 0;
    int indexBuilds = 0;
};

}  // namespace reel::testing
