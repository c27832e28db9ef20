#pragma once
// RecordingPrintDevice: a print device that keeps every finished page as
// lines of text with their bold and underlined ranges, so tests can compare
// a report line by line.
#include <string>
#include <vector>

#include "reports/grid_print_device.h"

namespace reel {

class RecordingPrintDevice : public GridPrintDevice {
  public:
    // A page length of 0 never breaks a page by itself.
    explicit RecordingPrintDevice(int linesPerPage = 0) : GridPrintDevice(linesPerPage) {}

    const std::vector<GridPage>& pages() const { return pages_; }
    bool ended() const { return ended_; }
    bool abandoned() const { return abandoned_; }
    std::string destination() const override { return "recording"; }

    // Makes the device fail at its next page: as a printer that went away.
    void failAtNextPage(std::string message) { failure_ = std::move(message); }

  protected:
    bool emitPage(const GridPage& page) override;
    bool finishDocument() override;
    void discardDocument() override;

  private:
    std::vector<GridPage> pages_;
    bool ended_ = false;
    bool abandoned_ = false;
    std::string failure_;
};

}  // namespace reel
