#pragma once
// The catalogue's windows, built from their Designer files. Object names are
// the forms' control names, so a FormBinding can find every control.
#include <QWidget>
#include <memory>
#include <string>

namespace reelqt {

// Makes the compiled-in pictures available; call once after QApplication.
void initResources();

// A new, hidden window for the form `formName`, or nullptr when the program
// has no window of that name.
std::unique_ptr<QWidget> createWindow(const std::string& formName);

}  // namespace reelqt
