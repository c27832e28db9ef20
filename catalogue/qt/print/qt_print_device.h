#pragma once
// QtPrintDevice: the report printer on QPrinter and QPainter.
//
// The reports' character grid is painted with the fixed-pitch font they ask
// for ("Courier New", which resolves to a metric-compatible face), one column
// per character advance and six lines to the inch (the pitch of a 12-point
// line), with the character width taken from the printer's own font
// metrics so that columns line up exactly.
//
// The grid lies inside margins of at least a quarter inch (more where the
// printer cannot print that close to the edge). The reports were laid out
// for 80 columns, but the full list prints up to column 89; at 12 points
// that is wider than A4 or Letter paper inside the margins, so the font
// and the columns shrink together until column 89 fits, while the line
// pitch stays at six lines to the inch (the reports count lines per page).
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
class QMarginsF;
class QRectF;

namespace reelqt {

// Where the character grid goes on a sheet, in points from the top left
// corner of the paper.
struct ReportGrid {
    double left = 0;   // left edge of column 1
    double top = 0;    // top of line 1
    double cell = 0;   // width of one column
    double pitch = 0;  // distance between lines
    double scale = 1;  // the font's size against the size the report asked for
    int lines = 0;     // lines that fit on a page
};

// The grid for a sheet of `paper` whose printer cannot print within
// `leastMargins` of the edges, for a font whose character advance is
// `charPoints` at the size the reports ask for.
ReportGrid reportGrid(const QRectF& paper, const QMarginsF& leastMargins, double charPoints);

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
    const ReportGrid& grid() const { return grid_; }

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
    ReportGrid grid_;     // in points
    double dotsPerPoint_ = 1;
    int lines_ = 0;
};

// The widest line any report prints: the sound field of the full list runs
// to column 89. The grid is centred for it.
inline constexpr int kReportColumns = 89;
// The least margin on every side of the sheet: a quarter inch.
inline constexpr double kLeastMarginPoints = 18.0;

}  // namespace reelqt
