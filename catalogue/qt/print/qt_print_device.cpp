#include "qt/print/qt_print_device.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace reelqt {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kLinePitchPoints = 12.0;  // six lines to the inch

QFont reportFont(const std::string& family, int pointSize) {
    QFont font(QString::fromStdString(family.empty() ? "Courier New" : family));
    font.setPointSize(pointSize > 0 ? pointSize : 12);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    if (!QFontInfo(font).fixedPitch()) {
        // Without a fixed-pitch face of that name, any fixed-pitch face keeps
        // the columns straight.
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setPointSize(font.pointSize());
        fixed.setKerning(false);
        return fixed;
    }
    return font;
}

}  // namespace

ReportGrid reportGrid(const QRectF& paper, const QMarginsF& leastMargins, double charPoints) {
    const double left = std::max(leastMargins.left(), kLeastMarginPoints);
    const double right = std::max(leastMargins.right(), kLeastMarginPoints);
    const double top = std::max(leastMargins.top(), kLeastMarginPoints);
    const double bottom = std::max(leastMargins.bottom(), kLeastMarginPoints);
    const double width = paper.width() - left - right;

    ReportGrid grid;
    grid.scale = charPoints > 0 ? std::min(1.0, width / (kReportColumns * charPoints)) : 1.0;
    grid.cell = charPoints * grid.scale;
    grid.left = left + (width - kReportColumns * grid.cell) / 2.0;
    grid.top = top;
    grid.pitch = kLinePitchPoints;
    grid.lines = std::max(1, static_cast<int>(std::floor((paper.height() - top - bottom) /
                                                         kLinePitchPoints)));
    return grid;
}

QtPrintDevice::QtPrintDevice(std::shared_ptr<QPrinter> printer, QString pdfFile)
    : printer_(std::move(printer)), pdfFile_(std::move(pdfFile)) {
    if (!pdfFile_.isEmpty()) {
        partFile_ = pdfFile_ + QStringLiteral(".part");
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(partFile_);
    }
    printer_->setFullPage(true);

    const double dpi = printer_->resolution();
    QPageLayout layout = printer_->pageLayout();
    layout.setUnits(QPageLayout::Point);
    QFontMetricsF metrics(reportFont("Courier New", 12), printer_.get());
    const double charPoints = metrics.horizontalAdvance(QLatin1Char('M')) * kPointsPerInch / dpi;
    grid_ = reportGrid(layout.fullRect(QPageLayout::Point), layout.minimumMargins(), charPoints);
    dotsPerPoint_ = dpi / kPointsPerInch;
    lines_ = grid_.lines;
    setLinesPerPage(lines_);
}

QtPrintDevice::~QtPrintDevice() {
    // A document neither ended nor abandoned is dropped.
    abandon();
}

std::string QtPrintDevice::destination() const {
    if (!pdfFile_.isEmpty()) return pdfFile_.toStdString();
    return printer_->printerName().toStdString();
}

bool QtPrintDevice::beginPainting() {
    painter_ = std::make_unique<QPainter>();
    if (painter_->begin(printer_.get())) return true;
    painter_.reset();
    if (!pdfFile_.isEmpty())
        fail("The PDF file \"" + pdfFile_.toStdString() + "\" could not be written.");
    else
        fail("The printer \"" + printer_->printerName().toStdString() + "\" could not be started.");
    return false;
}

bool QtPrintDevice::emitPage(const reel::GridPage& page) {
    if (!painter_) {
        if (!beginPainting()) return false;
    } else if (!printer_->newPage()) {
        fail("The printer did not accept a new page.");
        return false;
    }
    paint(page);
    return true;
}

void QtPrintDevice::paint(const reel::GridPage& page) {
    QFont base = reportFont(page.fontFamily, page.pointSize);
    // The grid was measured at 12 points; another size keeps its proportions.
    const double sizeFactor = base.pointSizeF() / 12.0;
    base.setPointSizeF(base.pointSizeF() * grid_.scale);
    QFontMetricsF metrics(base, printer_.get());
    const double cell = grid_.cell * sizeFactor * dotsPerPoint_;
    const double left = grid_.left * dotsPerPoint_;
    const double pitch = grid_.pitch * dotsPerPoint_;
    const double ascent = metrics.ascent();

    for (std::size_t row = 0; row < page.lines.size(); ++row) {
        const std::vector<reel::GridCell>& cells = page.lines[row].cells;
        const double baseline =
            grid_.top * dotsPerPoint_ + static_cast<double>(row) * pitch + ascent;
        std::size_t i = 0;
        while (i < cells.size()) {
            if (!cells[i].printed) {
                ++i;
                continue;
            }
            // A run of printed cells with the same attributes.
            std::size_t end = i;
            QString text;
            while (end < cells.size() && cells[end].printed && cells[end].bold == cells[i].bold &&
                   cells[end].underline == cells[i].underline) {
                text += QString::fromStdString(cells[end].glyph);
                ++end;
            }
            QFont font = base;
            font.setBold(cells[i].bold);
            painter_->setFont(font);
            QFontMetricsF runMetrics(font, printer_.get());
            const double x = left + static_cast<double>(i) * cell;
            // Each character in its own cell, so no face's rounding can move a column.
            for (int k = 0; k < text.size(); ++k)
                painter_->drawText(QPointF(x + k * cell, baseline), text.mid(k, 1));
            if (cells[i].underline) {
                const double y = baseline + runMetrics.underlinePos();
                painter_->fillRect(QRectF(x, y, static_cast<double>(end - i) * cell,
                                          std::max(1.0, runMetrics.lineWidth())),
                                   Qt::black);
            }
            i = end;
        }
    }
}

bool QtPrintDevice::finishDocument() {
    if (!painter_ && !beginPainting()) return false;
    if (!painter_->end()) {
        painter_.reset();
        fail("The document could not be finished.");
        return false;
    }
    painter_.reset();
    if (pdfFile_.isEmpty()) return true;

    QFile part(partFile_);
    if (!part.exists() || part.size() == 0) {
        fail("The PDF file \"" + pdfFile_.toStdString() + "\" could not be written.");
        return false;
    }
    // The user chose this name (or it was free): a finished report replaces it whole.
    QFile::remove(pdfFile_);
    if (!part.rename(pdfFile_)) {
        fail("The PDF file \"" + pdfFile_.toStdString() +
             "\" could not be written: " + part.errorString().toStdString());
        return false;
    }
    return true;
}

void QtPrintDevice::discardDocument() {
    if (painter_) {
        printer_->abort();
        if (painter_->isActive()) painter_->end();
        painter_.reset();
    }
    if (!partFile_.isEmpty()) QFile::remove(partFile_);
}

}  // namespace reelqt
