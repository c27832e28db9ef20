#include "qt/key_codes.h"

#include <Qt>

#include "platform/form.h"

namespace reelqt {

int virtualKeyCode(int qtKey) {
    namespace keys = reel::keys;
    switch (qtKey) {
        case Qt::Key_Backspace:
            return keys::Backspace;
        case Qt::Key_Tab:
            return keys::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return keys::Enter;
        case Qt::Key_Escape:
            return keys::Escape;
        case Qt::Key_Space:
            return keys::Space;
        case Qt::Key_PageUp:
            return keys::PageUp;
        case Qt::Key_PageDown:
            return keys::PageDown;
        case Qt::Key_End:
            return keys::End;
        case Qt::Key_Home:
            return keys::Home;
        case Qt::Key_Left:
            return keys::Left;
        case Qt::Key_Up:
            return keys::Up;
        case Qt::Key_Right:
            return keys::Right;
        case Qt::Key_Down:
            return keys::Down;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            break;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 48 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 65 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return keys::F1 + (qtKey - Qt::Key_F1);
    return 0;
}

int characterCode(int qtKey, const QString& text) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return reel::keys::Enter;
        case Qt::Key_Escape:
            return reel::keys::Escape;
        case Qt::Key_Backspace:
            return reel::keys::Backspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 0;
        default:
            break;
    }
    if (text.size() != 1) return 0;
    const char16_t ch = text.at(0).unicode();
    if (ch < 32 || ch == 127 || ch > 255) return 0;
    return ch;
}

}  // namespace reelqt
