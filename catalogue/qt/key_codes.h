#pragma once
// Qt keys as the classic virtual-key and character codes the forms' handlers
// read (13 Enter, 27 Escape, 38 Up, 40 Down, 112 F1, 65 'A' ...).
#include <QString>

namespace reelqt {

// The virtual-key code of a Qt key, or 0 for keys the forms do not know.
int virtualKeyCode(int qtKey);

// The character code a key press types (KeyPress), or 0 when it types none.
// Enter, Escape and Backspace type 13, 27 and 8; characters beyond Latin-1
// type nothing the forms could store, so they give 0 as well.
int characterCode(int qtKey, const QString& text);

}  // namespace reelqt
