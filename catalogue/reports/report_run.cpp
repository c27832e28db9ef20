#include "reports/report_run.h"

#include "indexes/damaged_index.h"
#include "reports/index_walk.h"
#include "screen/screen_context.h"

namespace reel {

std::string trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string rule() {
    return std::string(76, '_');
}

ReportRun::ReportRun(ScreenContext& s) : screen(s), platform(s.platform()) {}

ReportRun::~ReportRun() {
    // A report that stopped half-way never leaves a document behind.
    if (device_) device_->abandon();
}

bool ReportRun::openPrinter(std::string_view jobName) {
    device_ = platform.openPrinter(jobName);
    if (device_) return true;
    std::string reason = platform.lastError();
    platform.messageBox("The report cannot be printed." + (reason.empty() ? "" : "  " + reason),
                        MsgIcon::Exclamation, MsgButtons::Ok, PrintProgramTitle);
    screen.reset();
    return false;
}

void ReportRun::nextPage() {
    device_->newPage();
    screen.pageNumber() += 1;
    LinesOnPage = 0;
}

void ReportRun::showFilm(std::int32_t n) {
    screen.readRecord(n);
    screen.setCurrentRecord(n);
    screen.showRecord();
    platform.refresh();
}

void ReportRun::reportFailure() {
    std::string reason = device_->error();
    device_->abandon();
    platform.messageBox("The report could not be printed: " + reason, MsgIcon::Exclamation,
                        MsgButtons::Ok, PrintProgramTitle);
    screen.reset();
}

bool ReportRun::printerFailed() {
    if (!device_->failed()) return false;
    reportFailure();
    return true;
}

void ReportRun::abandon() {
    device_->abandon();
}

bool ReportRun::stoppedByDamage(const IndexWalk& walk) {
    if (!walk.damaged()) return false;
    device_->abandon();
    platform.beep();
    platform.messageBox(walk.damageMessage(), MsgIcon::Exclamation, MsgButtons::Ok,
                        PrintProgramTitle);
    screen.reset();
    return true;
}

void ReportRun::finish(int footerColumn, const ClosingMessage& closing) {
    const int pages = screen.pageNumber();
    line({Tab(footerColumn), "Page ", Number(pages)});
    if (!device_->endDocument()) {
        reportFailure();
        return;
    }
    if (closing.beep) platform.beep();
    std::string text = std::string(closing.opening) + (pages == 1 ? "There is " : "There are ") +
                       std::to_string(pages) +
                       std::string(pages == 1 ? closing.onePage : " pages to print.");
    if (device_->destinationIsFile())
        text += "\n\nThe report was saved in the file " + device_->destination();
    platform.messageBox(text, MsgIcon::Exclamation, MsgButtons::Ok, closing.caption);
    screen.reset();
}

}  // namespace reel
