#pragma once
// CatalogueReports: the File menu's printer set-up and printed reports,
// installed into the main screen (MainScreen::install).
#include "screen/screen_seams.h"

namespace reel {

class CatalogueReports : public ReportFeatures {
  public:
    void setupPrinter(ScreenContext& screen) override;
    void printReport(ScreenContext& screen, ReportKind kind) override;
};

}  // namespace reel
