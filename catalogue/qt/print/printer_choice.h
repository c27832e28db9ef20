#pragma once
// Which printer the reports print on.
//
// "Setup Printer" opens the printer dialog on one QPrinter kept for the whole
// run; whatever the user leaves chosen there (a printer, or a PDF file) is
// what the reports use. Without a choice, the reports print on the system's
// default printer; on a machine with no printer at all they become a PDF
// file in the catalogue's folder, named after the report and never
// replacing an earlier one.
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "platform/print_device.h"

class QPrinter;
class QWidget;

namespace reelqt {

class PrinterChoice {
  public:
    // The printer set-up dialog; false when the user cancelled.
    bool runSetupDialog(QWidget* parent);
    // A device for one report, or nullptr with the reason in *error.
    std::unique_ptr<reel::PrintDevice> open(std::string_view jobName, const QString& folder,
                                            std::string* error);

  private:
    bool chosen_ = false;
    std::shared_ptr<QPrinter> printer_;
};

// The run's printer choice (the program has one).
PrinterChoice& printerChoice();

// A free PDF name in `folder` for the job: "NAME.pdf", "NAME (2).pdf", ...
QString freePdfName(const QString& folder, std::string_view jobName);

// A device that writes the report as the PDF file `path`.
std::unique_ptr<reel::PrintDevice> openPdfDevice(const QString& path, std::string_view jobName);

}  // namespace reelqt
