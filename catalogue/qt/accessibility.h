#pragma once
// What a screen reader hears.
//
// Every control is spoken by its caption: labels, buttons and option buttons
// by their own text, text boxes by the label that captions them (the label's
// buddy; FormBinding keeps the name in step when a caption changes).
//
// With REELBOOK_TEST_IDS=1 in the environment every widget that has an object
// name also carries it as its accessible description, so tests driving the
// program over the accessibility bus can find each control by its name. This
// covers widgets created later (message boxes, dialogs, lists filled at run
// time): they receive it when they are first polished. Menu items, which are
// actions rather than widgets, answer it through MenuItemAccessible.
#include <QString>

class QApplication;
class QWidget;

namespace reelqt {

// The caption as spoken: mnemonic markers removed ("E&xit" -> "Exit",
// "&&" -> "&"), line breaks and runs of blanks folded to one blank.
QString spokenText(const QString& caption);

bool testIdsRequested();

// Mirrors the object names of `root` and all its descendants now, when the
// environment asks for it (the Session does this for every window it binds).
void mirrorTestIds(QWidget* root);

// Installs the object-name mirroring on the application when the environment
// asks for it; does nothing otherwise. Safe to call more than once.
void installTestIds(QApplication& app);

}  // namespace reelqt
