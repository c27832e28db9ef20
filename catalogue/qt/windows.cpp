#include "qt/windows.h"

#include <QMainWindow>

#include "qt/session.h"
#include "program/catalogue_app.h"
#include "ui_Tavlenfrm1.h"
#include "ui_frmCopy.h"
#include "ui_frmStarter1.h"
#include "ui_frmtavlen3.h"

// Q_INIT_RESOURCE must be called from the global namespace.
static void initReelbookResources() {
    Q_INIT_RESOURCE(reelbook);
}

namespace reelqt {

void initResources() {
    initReelbookResources();
}

std::unique_ptr<QWidget> createWindow(const std::string& formName) {
    if (formName == "frmtavlen3") {
        auto window = std::make_unique<QMainWindow>();
        Ui::frmtavlen3().setupUi(window.get());
        return window;
    }
    if (formName == "Tavlenfrm1") {
        auto window = std::make_unique<QWidget>();
        Ui::Tavlenfrm1().setupUi(window.get());
        return window;
    }
    if (formName == "frmStarter1") {
        auto window = std::make_unique<QWidget>();
        Ui::frmStarter1().setupUi(window.get());
        return window;
    }
    if (formName == "frmCopy") {
        // Modal (set in its Designer file): the master file is closed while it is open.
        auto window = std::make_unique<QWidget>();
        Ui::frmCopy().setupUi(window.get());
        return window;
    }
    return nullptr;
}

void bindWindows(Session& session, reel::CatalogueApp& app) {
    for (reel::Form* form : app.forms())
        if (std::unique_ptr<QWidget> window = createWindow(form->name()))
            session.bind(*form, std::move(window));
}

}  // namespace reelqt
