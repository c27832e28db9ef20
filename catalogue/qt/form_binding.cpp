#include "qt/form_binding.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include "qt/accessibility.h"
#include "qt/key_codes.h"
#include "qt/qt_colour.h"
#include "qt/session.h"

namespace reelqt {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Labels show their captions as plain text ("<Enter>" is a word here, not a
// tag) and take a CR LF line break as a line break.
QString labelText(const std::string& text) {
    QString s = fromUtf8(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

// Option buttons that switch between two states often share one access key
// (the page buttons: "Add More Da&ta", "Re&turn To Main Page"). Choosing the
// option already selected changes nothing, so only the unselected ones keep
// their key: pressing it then always switches, instead of Qt's cycling of the
// focus between buttons whose keys clash.
void applyAccessKey(QAbstractButton* button) {
    if (!qobject_cast<QRadioButton*>(button)) return;
    const QKeySequence key =
        button->isChecked() ? QKeySequence() : QKeySequence::mnemonic(button->text());
    if (button->shortcut() != key) button->setShortcut(key);
}

QWidget* surfaceOf(QWidget* root) {
    if (auto* main = qobject_cast<QMainWindow*>(root); main && main->centralWidget())
        return main->centralWidget();
    return root;
}

bool isIgnoredFocusReason(Qt::FocusReason reason) {
    // The focus moving between windows (a message box opening or closing, a
    // menu popping up) is not the user moving between controls.
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

}  // namespace

FormBinding::FormBinding(reel::Form& form, QWidget* root, Session& session)
    : form_(form), root_(root), session_(session) {
    root_->installEventFilter(this);
    bindControls();
}

FormBinding::~FormBinding() {
    if (root_) root_->removeEventFilter(this);
}

QWidget* FormBinding::widget(const std::string& control) const {
    auto it = bound_.find(control);
    return it == bound_.end() ? nullptr : it->second.widget.data();
}

QAction* FormBinding::action(const std::string& control) const {
    auto it = bound_.find(control);
    return it == bound_.end() ? nullptr : it->second.action.data();
}

std::vector<std::string> FormBinding::missingControls() const {
    std::vector<std::string> missing;
    for (const std::string& name : form_.controlNames())
        if (!widget(name) && !action(name)) missing.push_back(name);
    return missing;
}

void FormBinding::bindControls() {
    const QString rootName = root_->objectName();
    for (const std::string& name : form_.controlNames()) {
        const QString objectName = fromUtf8(name);
        Bound& b = bound_[name];
        if (auto* w = root_->findChild<QWidget*>(objectName)) {
            b.widget = w;
            connectWidget(name, w);
        } else if (auto* a = root_->findChild<QAction*>(objectName)) {
            b.action = a;
            connectAction(name, a);
        }
    }
    // Text boxes are named by the label that captions them (its buddy).
    for (QLabel* label : root_->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (!buddy) continue;
        if (const std::string* name = controlNameOf(buddy)) bound_[*name].caption = label;
    }
}

const std::string* FormBinding::controlNameOf(QObject* object) const {
    auto it = names_.find(object);
    return it == names_.end() ? nullptr : &it->second;
}

void FormBinding::connectWidget(const std::string& name, QWidget* w) {
    names_[w] = name;
    w->installEventFilter(this);

    if (auto* label = qobject_cast<QLabel*>(w)) label->setTextFormat(Qt::PlainText);

    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, name, button] {
            if (button->isCheckable()) form_[name].checked = button->isChecked();
            // A click by mouse has had its press, which moved the focus; one
            // by keyboard (an access key, Space) moves it now.
            const bool byMouse = pressedButton_ == button;
            pressedButton_ = nullptr;
            if (byMouse) {
                session_.dispatch(form_, reel::Event{name, reel::EventKind::Click});
            } else {
                session_.run([this, &name] {
                    form_.userChoose(name);
                    return true;
                });
            }
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // Every change of the text that is not the program's own: typing,
        // paste, cut, undo, drag and drop, and a value set through the
        // accessibility interface (screen readers, voice control, UI
        // automation), which QLineEdit reports only as textChanged. The
        // program's own changes arrive here blocked (sync) or quiet.
        connect(edit, &QLineEdit::textChanged, this, [this, name](const QString& text) {
            if (session_.quiet()) return;
            reel::Control& c = form_[name];
            const std::string value = text.toStdString();
            if (c.text == value) return;
            c.text = value;
            bound_[name].appliedText = c.text;  // already on screen
            session_.dispatch(form_, reel::Event{name, reel::EventKind::Change});
        });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        names_[list->viewport()] = name;  // mouse events arrive at the viewport
        list->viewport()->installEventFilter(this);
        connect(list, &QListWidget::currentRowChanged, this, [this, name](int row) {
            if (session_.quiet() || row < 0) return;
            form_[name].listIndex = row;
            reel::Event e{name, reel::EventKind::Click};
            e.item = row;
            session_.dispatch(form_, e);
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // A drop-down list (the copy window's drive list): choosing an entry,
        // even the one already shown, is a Change with the entry chosen.
        connect(combo, &QComboBox::activated, this, [this, name](int index) {
            if (session_.quiet() || index < 0) return;
            form_[name].listIndex = index;
            reel::Event e{name, reel::EventKind::Change};
            e.item = index;
            session_.dispatch(form_, e);
        });
    } else if (auto* menu = qobject_cast<QMenu*>(w)) {
        connect(menu, &QMenu::aboutToShow, this, [this, name] {
            session_.dispatch(form_, reel::Event{name, reel::EventKind::Click});
        });
    }
}

void FormBinding::connectAction(const std::string& name, QAction* a) {
    names_[a] = name;
    connect(a, &QAction::triggered, this, [this, name, a] {
        if (a->isCheckable()) form_[name].checked = a->isChecked();
        session_.dispatch(form_, reel::Event{name, reel::EventKind::Click});
    });
}

// ---- form -> widgets -------------------------------------------------------

void FormBinding::sync() {
    if (!root_) return;
    for (const std::string& name : form_.controlNames()) {
        auto it = bound_.find(name);
        if (it != bound_.end()) syncControl(form_[name], it->second);
    }
    syncWindow();
}

void FormBinding::syncWindow() {
    const QString caption = fromUtf8(form_.caption);
    if (root_->windowTitle() != caption) root_->setWindowTitle(caption);

    const int back = form_.backColour ? *form_.backColour : -1;
    if (back != appliedFormBack_) {
        QWidget* surface = surfaceOf(root_);
        QPalette palette = surface->palette();
        palette.setColor(QPalette::Window,
                         back >= 0 ? toQColor(back) : QPalette().color(QPalette::Window));
        surface->setPalette(palette);
        surface->setAutoFillBackground(back >= 0);
        appliedFormBack_ = back;
    }

    if (form_.visible && root_->isHidden()) {
        root_->show();
        root_->raise();
        root_->activateWindow();
    } else if (!form_.visible && !root_->isHidden()) {
        root_->hide();
    }
}

void FormBinding::syncControl(const reel::Control& c, Bound& b) {
    if (QAction* a = b.action) {
        const QString text = fromUtf8(c.text);
        if (a->text() != text) a->setText(text);
        if (a->isVisible() != c.visible) a->setVisible(c.visible);
        if (a->isEnabled() != c.enabled) a->setEnabled(c.enabled);
        if (a->isCheckable() && a->isChecked() != c.checked) {
            QSignalBlocker block(a);
            a->setChecked(c.checked);
        }
        return;
    }
    QWidget* w = b.widget;
    if (!w) return;
    QSignalBlocker block(w);

    if (auto* menu = qobject_cast<QMenu*>(w)) {
        const QString text = fromUtf8(c.text);
        if (menu->title() != text) menu->setTitle(text);
        if (const QString spoken = spokenText(text); menu->accessibleName() != spoken)
            menu->setAccessibleName(spoken);
        QAction* entry = menu->menuAction();
        if (entry->isVisible() != c.visible) entry->setVisible(c.visible);
        if (entry->isEnabled() != c.enabled) entry->setEnabled(c.enabled);
        return;
    }

    // The length limit goes first: QLineEdit cuts the text to its limit, so
    // a padded browsing value set while the editing limit still held would
    // lose its end (a running time of "     119" under a limit of 3).
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const int max = c.maxLength > 0 ? c.maxLength : 32767;
        if (edit->maxLength() != max) edit->setMaxLength(max);
    }
    if (!b.textApplied || b.appliedText != c.text) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // A picture label keeps its picture.
            if (label->pixmap().isNull()) label->setText(labelText(c.text));
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            const QString text = fromUtf8(c.text);
            if (edit->text() != text) {
                edit->setText(text);
                // Padded values are right-aligned in their box: show the start.
                if (!edit->hasFocus()) edit->setCursorPosition(0);
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(fromUtf8(c.text));
        }
        b.appliedText = c.text;
        b.textApplied = true;
        updateSpokenName(c, b);
    }
    if (b.caption) {
        const QString spoken = spokenText(b.caption->text());
        if (w->accessibleName() != spoken) w->setAccessibleName(spoken);
    }

    if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable()) {
        if (button->isChecked() != c.checked) button->setChecked(c.checked);
        applyAccessKey(button);
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (!b.itemsApplied || b.appliedItems != c.items) {
            list->clear();
            for (const std::string& item : c.items) list->addItem(fromUtf8(item));
            b.appliedItems = c.items;
            b.itemsApplied = true;
        }
        const int row = c.listIndex < list->count() ? c.listIndex : -1;
        if (list->currentRow() != row) list->setCurrentRow(row);
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (!b.itemsApplied || b.appliedItems != c.items) {
            combo->clear();
            for (const std::string& item : c.items) combo->addItem(fromUtf8(item));
            b.appliedItems = c.items;
            b.itemsApplied = true;
        }
        const int row = c.listIndex < combo->count() ? c.listIndex : -1;
        if (combo->currentIndex() != row) combo->setCurrentIndex(row);
    }

    applyColours(w, c, b);
    if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);
}

void FormBinding::applyColours(QWidget* w, const reel::Control& c, Bound& b) {
    const int back = c.backColour ? *c.backColour : -1;
    const int fore = c.foreColour ? *c.foreColour : -1;
    if (back == b.appliedBack && fore == b.appliedFore) return;

    // Boxes paint their inside with Base/Text; labels and option buttons
    // paint with their own background role and the window text colour.
    const bool boxLike = qobject_cast<QLineEdit*>(w) || qobject_cast<QListWidget*>(w);
    const QPalette::ColorRole backRoles[] = {boxLike ? QPalette::Base : QPalette::Window,
                                             w->backgroundRole()};
    const QPalette::ColorRole foreRoles[] = {boxLike ? QPalette::Text : QPalette::WindowText,
                                             w->foregroundRole()};
    const QPalette defaults = QApplication::palette(w);
    QPalette palette = w->palette();
    // A disabled control keeps its background; its text stays greyed out.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (QPalette::ColorRole role : backRoles)
            palette.setColor(group, role, back >= 0 ? toQColor(back) : defaults.color(group, role));
        if (group == QPalette::Disabled) continue;
        for (QPalette::ColorRole role : foreRoles)
            palette.setColor(group, role, fore >= 0 ? toQColor(fore) : defaults.color(group, role));
    }
    w->setPalette(palette);
    if (!boxLike) w->setAutoFillBackground(back >= 0);
    b.appliedBack = back;
    b.appliedFore = fore;
}

void FormBinding::updateSpokenName(const reel::Control& c, Bound& b) {
    QWidget* w = b.widget;
    if (!w || b.caption) return;
    // Labels, buttons and options are spoken by their captions. Boxes without
    // a caption label keep the name their window gave them.
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
        QString spoken = spokenText(fromUtf8(c.text));
        if (spoken.isEmpty()) spoken = w->toolTip();
        if (!spoken.isEmpty() && w->accessibleName() != spoken) w->setAccessibleName(spoken);
    }
}

void FormBinding::applyFocus() {
    const std::string& name = form_.focus();
    QWidget* w = widget(name);
    if (!root_ || !root_->isVisible()) return;
    if (!w || !w->isVisible() || !w->isEnabled()) {
        // The control cannot take the focus after all: the form follows the
        // focus where it really is, so the next move leaves the right control.
        noteWidgetFocus();
        return;
    }
    // When another window is in front, Qt gives the control the focus as
    // soon as its own window is active again.
    w->setFocus(Qt::OtherFocusReason);
}

void FormBinding::noteWidgetFocus() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused->window() != root_->window()) return;
    if (const std::string* name = controlNameOf(focused)) form_.noteFocus(*name);
}

// ---- widgets -> form -------------------------------------------------------

bool FormBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == root_.data()) {
        if (event->type() == QEvent::Close) return handleClose(event);
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            session_.showHelp(form_.currentHelpContext());
            return true;
        }
        return false;
    }
    const std::string* found = controlNameOf(watched);
    if (!found) return false;
    const std::string name = *found;  // the map may change while handlers run

    if (qobject_cast<QMenu*>(watched)) return handleMenuKey(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;

    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            return handleFocus(name, event);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return handleMouse(name, w, event);
        case QEvent::KeyPress:
            return handleKey(name, w, event);
        default:
            return false;
    }
}

// Only FocusIn matters: the form delivers the LostFocus of the control left
// itself, as part of the move.
bool FormBinding::handleFocus(const std::string& name, QEvent* event) {
    if (event->type() != QEvent::FocusIn) return false;
    auto* focus = static_cast<QFocusEvent*>(event);
    if (session_.focusHeld()) {
        // Qt moves the focus by itself when the program hides the focused
        // control (a picker list closing): note where it went, unless the
        // form has moved it elsewhere; that move stands.
        if (session_.quiet() && !form_.focusRequested()) form_.noteFocus(name);
        return false;
    }
    if (isIgnoredFocusReason(focus->reason())) {
        // The control does have the focus again; it is just not an event.
        form_.noteFocus(name);
        return false;
    }
    if (focus->reason() == Qt::MouseFocusReason) {
        // Qt gives the focus before it delivers the press that caused it; the
        // press brings the focus events (form.h, rule 4). Should no press of
        // ours follow, the focus change is reported on its own.
        mouseFocus_ = name;
        QTimer::singleShot(0, this, [this, name] {
            if (mouseFocus_ != name) return;
            mouseFocus_.clear();
            userFocus(name);
        });
        return false;
    }
    userFocus(name);
    return false;
}

void FormBinding::userFocus(const std::string& name) {
    session_.run([this, &name] {
        form_.userFocus(name);
        return true;
    });
}

bool FormBinding::handleMouse(const std::string& name, QWidget* w, QEvent* event) {
    if (session_.quiet()) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* list = qobject_cast<QListWidget*>(w->parentWidget());
    if (list && list->viewport() != w) list = nullptr;
    QWidget* control = list ? list : w;
    // Qt hands a disabled control's mouse events to its filters before
    // passing them on to the parent; a disabled control takes no clicks.
    if (!control->isEnabled()) return false;

    int item = -1;
    if (list) item = list->indexAt(mouse->position().toPoint()).row();
    const int button = mouse->button() == Qt::LeftButton    ? 1
                       : mouse->button() == Qt::RightButton ? 2
                                                            : 4;

    if (event->type() == QEvent::MouseButtonDblClick) {
        reel::Event e{name, reel::EventKind::DblClick};
        e.item = item;
        const std::vector<std::string> itemsBefore =
            list ? form_[name].items : std::vector<std::string>();
        session_.dispatch(form_, e);
        // A handler that refilled the list (a folder list opening a folder)
        // has used the double click up: the pointer no longer names a line.
        return !control->isVisible() || (list && form_[name].items != itemsBefore);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (mouseFocus_ == name) mouseFocus_.clear();  // this press brings the focus events
        const bool left = mouse->button() == Qt::LeftButton;
        pressed_ = left ? control : nullptr;
        pressedButton_ = left && qobject_cast<QAbstractButton*>(control) ? control : nullptr;
        const unsigned epoch = session_.modalEpoch();
        if (list && item >= 0) form_[name].listIndex = item;
        reel::Event e{name, reel::EventKind::MouseDown};
        e.button = button;
        e.item = item;
        session_.run([this, &e] {
            form_.userMouseDown(e);
            return true;
        });
        pressEpoch_ = session_.modalEpoch();
        if (left && !list && session_.modalEpochChanged(epoch)) {
            // A modal box opened by the press (a warning on entering the
            // box) took the release: the click is complete, and Qt will not
            // report it, so it is delivered now and the press is used up.
            pressed_ = nullptr;
            pressedButton_ = nullptr;
            session_.run([this, &name] {
                form_.userMouseUp(name);
                return true;
            });
            return true;
        }
        // A handler that closed the control (a picker list taking its choice)
        // has used the press up.
        return !control->isVisible() || !control->isEnabled() ||
               (list && form_[name].items.empty());
    }
    // Release: a click on a control that is not a button (buttons report
    // their own clicks, lists report selection changes).
    const bool sameControl = pressed_ == control;
    pressed_ = nullptr;
    if (!sameControl || list || qobject_cast<QAbstractButton*>(control)) return false;
    if (mouse->button() != Qt::LeftButton || session_.modalEpochChanged(pressEpoch_)) return false;
    if (!control->rect().contains(mouse->position().toPoint())) return false;
    session_.run([this, &name] {
        form_.userMouseUp(name);
        return true;
    });
    return false;
}

bool FormBinding::handleKey(const std::string& name, QWidget* w, QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
        if (!session_.focusHeld()) form_.noteFocus(name);
        session_.showHelp(form_.currentHelpContext());
        return true;
    }
    if (session_.quiet()) return false;
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return tabFromPlace(name, key->key() == Qt::Key_Tab);

    bool cancel = false;
    if (const int code = virtualKeyCode(key->key()); code != 0) {
        reel::Event down{name, reel::EventKind::KeyDown};
        down.key = code;
        down.cancel = &cancel;
        session_.dispatch(form_, down);
        if (cancel || !w->isVisible() || !w->isEnabled()) return true;
    }
    if (const int ch = characterCode(key->key(), key->text()); ch != 0) {
        reel::Event press{name, reel::EventKind::KeyPress};
        press.key = ch;
        press.cancel = &cancel;
        session_.dispatch(form_, press);
        if (cancel || !w->isVisible() || !w->isEnabled()) return true;
    }
    return false;
}

// Tab or Shift+Tab where the form says the user's place in the tab order is
// not the control with the focus: the focus goes on from that place, past
// what cannot take it now, as Qt's own Tab would have gone from there.
bool FormBinding::tabFromPlace(const std::string& name, bool forward) {
    const std::string& place = form_.tabPlace();
    if (place.empty() || form_.focus() != name) return false;
    QWidget* from = widget(place);
    if (!from) return false;
    QWidget* window = root_->window();
    for (QWidget* w = from;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from) return false;
        if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            !w->focusProxy() && w->isVisibleTo(window) && w->isEnabled()) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

bool FormBinding::handleClose(QEvent* event) {
    bool cancel = false;
    reel::Event e{"", reel::EventKind::QueryClose};
    e.cancel = &cancel;
    session_.dispatch(form_, e);
    if (cancel) {
        event->ignore();
        return true;
    }
    form_.hide();
    session_.syncAll();
    session_.noteWindowClosed();
    return false;
}

bool FormBinding::handleMenuKey(QObject* menu, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) return false;
    // The topic of the menu, or of the menu it sits in.
    const reel::Control* c = form_.find(*controlNameOf(menu));
    while (c && c->helpContext == 0 && !c->parent.empty()) c = form_.find(c->parent);
    const int topic = c && c->helpContext != 0 ? c->helpContext : form_.helpContext;
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    session_.showHelp(topic);
    return true;
}

}  // namespace reelqt
