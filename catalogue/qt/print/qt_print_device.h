#pragma once
// QtPrintDevice: the report printer on QPrinter and QPainter.
//
// The reports' character grid is painted with the fixed-pitch font they ask
// for ("Courier New", which resolves to a metric-compatible face), one column
// per character advance and six lines to the inch (the pitch of a 12-point
// line), with the character width taken from the printer's own font
// metrics so that columns line up exactly. The 80-column grid is centred on
// the sheet, never closer to its edges than the printer can print.
//
// Pages are painted as they are finished; the painter is started with the
// first finished page, so a report that is dropped before then sends
// nothing to a printer and leaves no file. A PDF is written under a
// temporary name and renamed into place when the document is complete, so
// a failed or abandoned report never leaves a half-written file.
#include <QString>
#include <memory>
#include <string>

#include "reports/grid_print_device.h"

class QPrinter;
class QPainter;

namespace reelqt {

class QtPrintDevice : public reel::GridPrintDevice {
  public:
    // A printer already set up (a CUPS queue or PDF output). For PDF output,
    // `pdfFile` is where the finished document goes; the printer writes to
    // a temporary file beside it.
    QtPrintDevice(std::shared_ptr<QPrinter> printer, QString pdfFile = {});
    ~QtPrintDevice() override;

    std::string destination() const override;
    bool destinationIsFile() const override { return !pdfFile_.isEmpty(); }

    int linesPerPage() const { return lines_; }

  protected:
    bool emitPage(const reel::GridPage& page) override;
    bool finishDocument() override;
    void discardDocument() override;

  private:
    bool beginPainting();
    void paint(const reel::GridPage& page);

    std::shared_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QString pdfFile_;
    QString partFile_;
    double left_ = 0;
    double top_ = 0;
    double pitch_ = 0;
    int lines_ = 0;
};

// The number of columns the reports use; the grid is centred for it.
inline constexpr int kReportColumns = 80;

}  // namespace reelqt
