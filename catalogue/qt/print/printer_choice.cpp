#include "qt/print/printer_choice.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "qt/print/qt_print_device.h"

namespace reelqt {

namespace {

QString safeFileName(std::string_view jobName) {
    QString name = QString::fromUtf8(jobName.data(), static_cast<int>(jobName.size())).trimmed();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("report") : name;
}

std::shared_ptr<QPrinter> newPrinter(std::string_view jobName) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QString::fromUtf8(jobName.data(), static_cast<int>(jobName.size())));
    return printer;
}

}  // namespace

PrinterChoice& printerChoice() {
    static PrinterChoice choice;
    return choice;
}

QString freePdfName(const QString& folder, std::string_view jobName) {
    const QDir dir(folder);
    const QString base = safeFileName(jobName);
    QString candidate = dir.absoluteFilePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo::exists(candidate + ".part"); ++n)
        candidate = dir.absoluteFilePath(base + QStringLiteral(" (%1).pdf").arg(n));
    return candidate;
}

std::unique_ptr<reel::PrintDevice> openPdfDevice(const QString& path, std::string_view jobName) {
    return std::make_unique<QtPrintDevice>(newPrinter(jobName), path);
}

bool PrinterChoice::runSetupDialog(QWidget* parent) {
    if (!printer_) printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer_.get(), parent);
    dialog.setObjectName(QStringLiteral("printerSetup"));
    dialog.setWindowTitle(QStringLiteral("Setup Printer"));
    if (dialog.exec() != QDialog::Accepted) return false;
    chosen_ = true;
    return true;
}

std::unique_ptr<reel::PrintDevice> PrinterChoice::open(std::string_view jobName,
                                                       const QString& folder, std::string* error) {
    if (chosen_ && printer_) {
        printer_->setDocName(QString::fromUtf8(jobName.data(), static_cast<int>(jobName.size())));
        if (printer_->outputFormat() == QPrinter::PdfFormat) {
            // Printing to a file the user named in the dialog.
            QString file = printer_->outputFileName();
            if (file.isEmpty()) file = freePdfName(folder, jobName);
            return std::make_unique<QtPrintDevice>(printer_, QFileInfo(file).absoluteFilePath());
        }
        if (!printer_->printerName().isEmpty()) return std::make_unique<QtPrintDevice>(printer_);
    }
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (!standard.isNull()) {
        auto printer = newPrinter(jobName);
        printer->setPrinterName(standard.printerName());
        if (printer->isValid() && printer->outputFormat() == QPrinter::NativeFormat)
            return std::make_unique<QtPrintDevice>(printer);
    }
    // No printer: the report becomes a PDF file beside the catalogue.
    const QFileInfo dir(folder);
    if (!dir.isDir() || !dir.isWritable()) {
        if (error)
            *error = "There is no printer, and the folder \"" +
                     dir.absoluteFilePath().toStdString() +
                     "\" cannot be written to for a PDF file of the report.";
        return nullptr;
    }
    return openPdfDevice(freePdfName(folder, jobName), jobName);
}

}  // namespace reelqt
