// Menu items over the accessibility interfaces: with REELBOOK_TEST_IDS=1
// every menu and menu item of the main window is found by its control name
// in the accessible description, spoken by its caption, and can be pressed.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <map>
#include <set>

#include "qt/accessibility.h"
#include "qt/form_binding.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

struct Seen {
    QString name;
    QAccessibleInterface* iface = nullptr;
};

// Every menu item under `node`, by description.
void collectMenuItems(QAccessibleInterface* node, std::map<QString, Seen>& found, int depth = 0) {
    if (!node || depth > 6) return;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child) continue;
        if (child->role() == QAccessible::MenuItem)
            found[child->text(QAccessible::Description)] = {child->text(QAccessible::Name), child};
        collectMenuItems(child, found, depth + 1);
    }
}

}  // namespace

class MenuAccessibilityTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<reelqt::QtPlatform> platform;
    std::unique_ptr<reel::CatalogueApp> app;
    std::unique_ptr<reelqt::Session> session;

    reelqt::FormBinding& main() { return *session->binding("frmtavlen3"); }

    std::map<QString, Seen> menuItems() {
        auto* window = qobject_cast<QMainWindow*>(main().root());
        std::map<QString, Seen> found;
        collectMenuItems(QAccessible::queryAccessibleInterface(window->menuBar()), found);
        return found;
    }

  private slots:
    void initTestCase() {
        qputenv("REELBOOK_TEST_IDS", "1");
        reelqt::initResources();
        reelqt::installTestIds(*qApp);
        platform = std::make_unique<reelqt::QtPlatform>();
        app = std::make_unique<reel::CatalogueApp>(*platform, QDir::tempPath().toStdString());
        session = std::make_unique<reelqt::Session>(*platform);
        platform->setSession(session.get());
        reel::Form& form = app->mainScreen();
        session->bind(form, reelqt::createWindow(form.name()));
        main().root()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main().root()));
    }

    void cleanupTestCase() {
        session.reset();
        app.reset();
        platform.reset();
    }

    void everyMenuAndItemIsFoundByItsName() {
        const std::map<QString, Seen> found = menuItems();
        const reel::Form& form = app->mainScreen();
        int checked = 0;
        for (const std::string& name : form.controlNames()) {
            const reel::Control& control = form[name];
            if (control.kind != reel::ControlKind::Menu &&
                control.kind != reel::ControlKind::MenuItem)
                continue;
            const QString id = QString::fromStdString(name);
            auto it = found.find(id);
            QVERIFY2(it != found.end(), qPrintable(id));
            QCOMPARE(it->second.name, reelqt::spokenText(QString::fromStdString(control.text)));
            ++checked;
        }
        QVERIFY(checked > 40);
        QCOMPARE(found.at("mnuExit").name, QString("Exit"));
        QCOMPARE(found.at("mnuFileMenu").name, QString("File"));
    }

    void itemsKeepTheirPlaceStateAndActions() {
        const std::map<QString, Seen> found = menuItems();
        QAccessibleInterface* file = found.at("mnuFileMenu").iface;
        QAccessibleInterface* save = found.at("mnuSave").iface;
        QCOMPARE(file->childCount(), 1);  // the menu it opens
        QCOMPARE(file->child(0)->object()->objectName(), QString("mnuFileMenu"));
        QCOMPARE(save->parent()->object()->objectName(), QString("mnuFileMenu"));
        QVERIFY(!file->rect().isEmpty());
        QVERIFY(file->actionInterface());
        QCOMPARE(file->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::showMenuAction()});
        QCOMPARE(save->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});

        auto* action = qobject_cast<QAction*>(save->object());
        QSignalSpy pressed(action, &QAction::triggered);
        save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(pressed.count(), 1);

        action->setEnabled(false);
        QVERIFY(save->state().disabled);
        save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(pressed.count(), 1);
        action->setEnabled(true);
    }
};

QTEST_MAIN(MenuAccessibilityTest)
#include "menu_accessibility_test.moc"
