#include "reports/report_features.h"

#include "reports/abridged_lists.h"
#include "reports/full_list.h"
#include "reports/selective_reports.h"
#include "screen/screen_context.h"

namespace reel {

void CatalogueReports::setupPrinter(ScreenContext& screen) {
    // The reports print on whatever the user leaves chosen there.
    screen.platform().setupPrinter();
}

void CatalogueReports::printReport(ScreenContext& screen, ReportKind kind) {
    switch (kind) {
        case ReportKind::FullList:
            printFullList(screen);
            break;
        case ReportKind::AllTitles:
        case ReportKind::Dvd:
        case ReportKind::Laser:
        case ReportKind::Vhs:
            printAbridgedList(screen, kind);
            break;
        case ReportKind::ByDirector:
        case ReportKind::ByStars:
        case ReportKind::ByGenre:
            printSelectiveReport(screen, kind);
            break;
    }
}

}  // namespace reel
