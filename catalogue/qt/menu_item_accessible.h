#pragma once
// Menu items as a screen reader sees them, carrying their object names.
//
// A menu item is a QAction, not a widget, so it has no accessible description
// of its own, and the toolkit's menu-item interface gives it none. Tests that
// drive the program over the accessibility bus find controls by the names of
// the forms, menu items included; with REELBOOK_TEST_IDS=1 the items are
// therefore served by this interface, which answers like the toolkit's own
// (name, role, state, place, press and open-menu actions) and adds the item's
// object name as description. An item that opens a submenu carries the
// submenu's name ("mnuFileMenu").
#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class QAction;
class QWidget;

namespace reelqt {

class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    // REQUIRES: owner is the QMenu or QMenuBar that shows action.
    MenuItemAccessible(QWidget* owner, QAction* action);

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    QPointer<QWidget> owner_;
    QPointer<QAction> action_;
};

// The factory answering for menu items; installs itself once.
void installMenuItemAccessibility();

}  // namespace reelqt
