#include "qt/menu_item_accessible.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include "qt/accessibility.h"

namespace reelqt {
namespace {

// The menu or menu bar that shows the action.
QWidget* ownerOf(QAction* action) {
    for (QObject* object : action->associatedObjects())
        if (qobject_cast<QMenu*>(object) || qobject_cast<QMenuBar*>(object))
            return static_cast<QWidget*>(object);
    return nullptr;
}

QAccessibleInterface* menuItemFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QAction")) return nullptr;
    auto* action = qobject_cast<QAction*>(object);
    if (!action) return nullptr;
    QWidget* owner = ownerOf(action);
    return owner ? new MenuItemAccessible(owner, action) : nullptr;
}

}  // namespace

MenuItemAccessible::MenuItemAccessible(QWidget* owner, QAction* action)
    : owner_(owner), action_(action) {}

bool MenuItemAccessible::isValid() const {
    return owner_ && action_;
}

QObject* MenuItemAccessible::object() const {
    return action_;
}

QWindow* MenuItemAccessible::window() const {
    if (!owner_) return nullptr;
    if (QWindow* own = owner_->windowHandle()) return own;
    // A menu not yet shown has no window of its own: its parent's serves.
    QWidget* top = owner_->window();
    return top ? top->windowHandle() : nullptr;
}

QAccessibleInterface* MenuItemAccessible::parent() const {
    return owner_ ? QAccessible::queryAccessibleInterface(owner_.data()) : nullptr;
}

QAccessibleInterface* MenuItemAccessible::child(int index) const {
    if (index != 0 || !action_ || !action_->menu()) return nullptr;
    return QAccessible::queryAccessibleInterface(action_->menu());
}

int MenuItemAccessible::childCount() const {
    return action_ && action_->menu() ? 1 : 0;
}

int MenuItemAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child && action_ && action_->menu() && child->object() == action_->menu()) return 0;
    return -1;
}

QAccessibleInterface* MenuItemAccessible::childAt(int x, int y) const {
    QAccessibleInterface* submenu = child(0);
    return submenu && submenu->rect().contains(x, y) ? submenu : nullptr;
}

QString MenuItemAccessible::text(QAccessible::Text t) const {
    if (!action_) return {};
    switch (t) {
        case QAccessible::Name:
            return spokenText(action_->text());
        case QAccessible::Description: {
            if (!action_->objectName().isEmpty()) return action_->objectName();
            return action_->menu() ? action_->menu()->objectName() : QString();
        }
        case QAccessible::Accelerator: {
            const QKeySequence key = action_->shortcut().isEmpty()
                                         ? QKeySequence::mnemonic(action_->text())
                                         : action_->shortcut();
            return key.toString(QKeySequence::NativeText);
        }
        default:
            return {};
    }
}

void MenuItemAccessible::setText(QAccessible::Text, const QString&) {}

QRect MenuItemAccessible::rect() const {
    if (!owner_ || !action_) return {};
    QRect r;
    if (auto* menu = qobject_cast<QMenu*>(owner_.data()))
        r = menu->actionGeometry(action_);
    else if (auto* bar = qobject_cast<QMenuBar*>(owner_.data()))
        r = bar->actionGeometry(action_);
    if (r.isNull()) return r;
    r.moveTopLeft(owner_->mapToGlobal(r.topLeft()));
    return r;
}

QAccessible::Role MenuItemAccessible::role() const {
    return action_ && action_->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State MenuItemAccessible::state() const {
    QAccessible::State s;
    if (!owner_ || !action_) {
        s.invalid = true;
        return s;
    }
    if (!owner_->isVisible() || !action_->isVisible()) s.invisible = true;
    if (auto* menu = qobject_cast<QMenu*>(owner_.data()); menu && menu->activeAction() == action_)
        s.focused = true;
    if (auto* bar = qobject_cast<QMenuBar*>(owner_.data()); bar && bar->activeAction() == action_)
        s.focused = true;
    if (owner_->style()->styleHint(QStyle::SH_Menu_MouseTracking)) s.hotTracked = true;
    if (action_->isSeparator() || !action_->isEnabled()) s.disabled = true;
    if (action_->isCheckable()) s.checkable = true;
    if (action_->isChecked()) s.checked = true;
    return s;
}

void* MenuItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList MenuItemAccessible::actionNames() const {
    if (!action_ || action_->isSeparator()) return {};
    return {action_->menu() ? showMenuAction() : pressAction()};
}

void MenuItemAccessible::doAction(const QString& actionName) {
    if (!action_ || !owner_ || !action_->isEnabled()) return;
    if (actionName == pressAction() && !action_->menu()) {
        action_->trigger();
        return;
    }
    if (actionName != showMenuAction() || !action_->menu()) return;
    if (action_->menu()->isVisible()) {
        action_->menu()->hide();
    } else if (auto* bar = qobject_cast<QMenuBar*>(owner_.data())) {
        bar->setActiveAction(action_);
    } else if (auto* menu = qobject_cast<QMenu*>(owner_.data())) {
        menu->setActiveAction(action_);
    }
}

QStringList MenuItemAccessible::keyBindingsForAction(const QString& actionName) const {
    if (!action_ || actionName != pressAction() || action_->shortcut().isEmpty()) return {};
    return {action_->shortcut().toString(QKeySequence::NativeText)};
}

void installMenuItemAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&menuItemFactory);
}

}  // namespace reelqt
