#pragma once
// FormBinding: shows one reel::Form in one Qt window and forwards the user's
// actions back to it. One class serves every window of the catalogue.
//
// At bind time every control is looked up by object name: a widget (QLabel,
// QLineEdit, buttons, QListWidget, QMenu ...) or a QAction. sync() copies the
// form onto the widgets: texts, visibility, enabled and checked state, list
// items and selection, colours, the window caption and the window's own
// visibility. Widget changes made by sync() never come back as events.
//
// The user's actions travel the other way, through the Session that owns the
// bindings, into the form's event sequence (form.h), which adds the focus
// events the handlers expect:
//   focus moved by Tab or a caption's access key -> form.userFocus()
//   mouse press on a control         -> form.userMouseDown() (the focus moves
//                                       there first; lists: with the item
//                                       under the pointer)
//   its release on the same control  -> form.userMouseUp(): Click (not for
//                                       lists); when the press opened a modal
//                                       box, which takes the release, at once
//   button or option clicked         -> Click; chosen by keyboard (access
//                                       key, Space) -> form.userChoose()
//   menu item, menu opening          -> Click
//   any change of a text box's text  -> the form gets the text, then Change
//     (typing, paste, undo, drag and drop, assistive technology)
//   selection moved in a list        -> Click (with the item)
//   entry chosen in a drop-down list -> Change (with the item)
//   key press on a control           -> KeyDown, then KeyPress for character keys
//   Tab, Shift+Tab                   -> Qt's focus change, from the form's tab
//                                       place when it names one (form.h)
//   window close box                 -> QueryClose (a handler may cancel)
//   F1 anywhere in the window        -> help at form.currentHelpContext()
// Qt's own FocusOut is never an event: the form knows which control the focus
// leaves. Focus changes that only come from window activation (a message box
// opening or closing) are not events of the form: the control keeps its focus.
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "platform/form.h"

class QAction;
class QLabel;
class QWidget;

namespace reelqt {

class Session;

class FormBinding : public QObject {
    Q_OBJECT
  public:
    // REQUIRES: root outlives the binding; the session dispatches its events.
    FormBinding(reel::Form& form, QWidget* root, Session& session);
    ~FormBinding() override;

    reel::Form& form() const { return form_; }
    QWidget* root() const { return root_; }

    // The widget or action bound to a control, or nullptr.
    QWidget* widget(const std::string& control) const;
    QAction* action(const std::string& control) const;
    // Names of the form's controls that have neither a widget nor an action.
    std::vector<std::string> missingControls() const;

    // Copies the form onto the widgets. Safe to call at any time.
    void sync();
    // Moves the keyboard focus to the form's focus control, without events.
    void applyFocus();
    // Tells the form which of its controls really has the keyboard focus.
    void noteWidgetFocus();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Bound {
        QPointer<QWidget> widget;
        QPointer<QAction> action;
        QPointer<QLabel> caption;  // the label that names a text box, for screen readers
        // What sync() last applied, so unchanged properties are not touched.
        std::string appliedText;
        bool textApplied = false;
        std::vector<std::string> appliedItems;
        bool itemsApplied = false;
        int appliedBack = -1;
        int appliedFore = -1;
    };

    void bindControls();
    void connectWidget(const std::string& name, QWidget* widget);
    void connectAction(const std::string& name, QAction* action);
    void syncControl(const reel::Control& control, Bound& bound);
    void syncWindow();
    void applyColours(QWidget* widget, const reel::Control& control, Bound& bound);
    void updateSpokenName(const reel::Control& control, Bound& bound);

    bool handleFocus(const std::string& name, QEvent* event);
    void userFocus(const std::string& name);
    bool handleMouse(const std::string& name, QWidget* widget, QEvent* event);
    bool handleKey(const std::string& name, QWidget* widget, QEvent* event);
    bool tabFromPlace(const std::string& name, bool forward);
    bool handleClose(QEvent* event);
    bool handleMenuKey(QObject* menu, QEvent* event);

    const std::string* controlNameOf(QObject* object) const;

    reel::Form& form_;
    QPointer<QWidget> root_;
    Session& session_;
    std::map<std::string, Bound, std::less<>> bound_;
    std::map<QObject*, std::string> names_;  // widget or action -> control name
    QPointer<QWidget> pressed_;              // where the left button went down
    QPointer<QWidget> pressedButton_;        // a button pressed by mouse, until it reports its click
    unsigned pressEpoch_ = 0;                // modal boxes opened before that press was released
    std::string mouseFocus_;                 // given the focus by a press not yet delivered
    int appliedFormBack_ = -1;
};

}  // namespace reelqt
