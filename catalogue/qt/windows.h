#pragma once
// The catalogue's windows, built from their Designer files. Object names are
// the forms' control names, so a FormBinding can find every control.
#include <QWidget>
#include <memory>
#include <string>

namespace reel {
class CatalogueApp;
}

namespace reelqt {

class Session;

// Makes the compiled-in pictures available; call once after QApplication.
void initResources();

// A new, hidden window for the form `formName`, or nullptr when the program
// has no window of that name.
std::unique_ptr<QWidget> createWindow(const std::string& formName);

// Builds the window of every form of `app` that has one and binds it to
// `session` (forms of later parts of the program without a window are left
// unbound).
void bindWindows(Session& session, reel::CatalogueApp& app);

}  // namespace reelqt
