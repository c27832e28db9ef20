// FormBinding and Session on a small form built in the test: the form's state
// reaches the widgets, the user's actions reach the handlers, and the
// program's own changes never come back as events.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "modal_answerer.h"
#include "platform/scripted_platform.h"
#include "qt/form_binding.h"
#include "qt/session.h"

using reel::ControlKind;
using reel::EventKind;

namespace {

std::string kindName(EventKind kind) {
    switch (kind) {
        case EventKind::Load:
            return "Load";
        case EventKind::Click:
            return "Click";
        case EventKind::DblClick:
            return "DblClick";
        case EventKind::GotFocus:
            return "GotFocus";
        case EventKind::LostFocus:
            return "LostFocus";
        case EventKind::MouseDown:
            return "MouseDown";
        case EventKind::KeyDown:
            return "KeyDown";
        case EventKind::KeyPress:
            return "KeyPress";
        case EventKind::Change:
            return "Change";
        case EventKind::QueryClose:
            return "QueryClose";
    }
    return "?";
}

// A form with one control of each kind; every event it receives is logged.
class TinyForm : public reel::Form {
  public:
    TinyForm() : Form("frmTiny") {
        caption = "Tiny Window";
        helpContext = 5;
        add("mnuFileMenu", ControlKind::Menu, "&File").helpContext = 440;
        add("mnuExit", ControlKind::MenuItem, "E&xit").parent = "mnuFileMenu";
        add("lblName", ControlKind::Label, "Name");
        add("txtName", ControlKind::TextBox).helpContext = 7;
        add("txtOther", ControlKind::TextBox);
        add("cmdGo", ControlKind::Button, "&Go");
        add("optA", ControlKind::OptionButton, "Option &A");
        add("List1", ControlKind::ListBox);
        for (const std::string& name : controlNames())
            for (EventKind kind :
                 {EventKind::Click, EventKind::DblClick, EventKind::GotFocus, EventKind::LostFocus,
                  EventKind::MouseDown, EventKind::KeyDown, EventKind::KeyPress, EventKind::Change})
                on(name, kind, [this](const reel::Event& e) { record(e); });
        on("", EventKind::QueryClose, [this](const reel::Event& e) {
            record(e);
            *e.cancel = keepOpen;
        });
    }

    void record(const reel::Event& e) {
        std::string line = (e.control.empty() ? "form" : e.control) + " " + kindName(e.kind);
        if (e.kind == EventKind::KeyDown || e.kind == EventKind::KeyPress)
            line += ":" + std::to_string(e.key);
        if (e.kind == EventKind::MouseDown || (e.kind == EventKind::Click && e.item >= 0))
            line += "@" + std::to_string(e.item);
        log.push_back(line);
        if (after) after(e);
    }

    std::vector<std::string> log;
    std::function<void(const reel::Event&)> after;  // what a test's handler does besides logging
    bool keepOpen = false;
};

std::unique_ptr<QWidget> tinyWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName("frmTiny");
    auto* central = new QWidget(window.get());
    window->setCentralWidget(central);
    auto* menu = window->menuBar()->addMenu("&File");
    menu->setObjectName("mnuFileMenu");
    menu->addAction("E&xit")->setObjectName("mnuExit");
    auto* label = new QLabel("Name", central);
    label->setObjectName("lblName");
    label->setGeometry(10, 10, 80, 20);
    auto* name = new QLineEdit(central);
    name->setObjectName("txtName");
    name->setGeometry(100, 10, 150, 24);
    label->setBuddy(name);
    auto* other = new QLineEdit(central);
    other->setObjectName("txtOther");
    other->setGeometry(100, 40, 150, 24);
    auto* go = new QPushButton("&Go", central);
    go->setObjectName("cmdGo");
    go->setGeometry(10, 70, 80, 30);
    auto* option = new QRadioButton("Option &A", central);
    option->setObjectName("optA");
    option->setGeometry(100, 70, 120, 24);
    auto* list = new QListWidget(central);
    list->setObjectName("List1");
    list->setGeometry(10, 110, 200, 120);
    window->resize(300, 280);
    return window;
}

}  // namespace

class BindingTest : public QObject {
    Q_OBJECT

  private:
    reel::ScriptedPlatform platform;
    std::unique_ptr<TinyForm> form;
    std::unique_ptr<reelqt::Session> session;
    reelqt::FormBinding* binding = nullptr;

    template <typename T>
    T* get(const char* name) {
        return qobject_cast<T*>(binding->widget(name));
    }

    void showActive() {
        form->show();
        session->syncAll();
        QWidget* root = binding->root();
        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        // Start with no control focused, so each test's first focus is an event.
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
        QTRY_VERIFY(!QApplication::focusWidget());
        form->noteFocus("");
        form->log.clear();
    }

  private slots:
    void init() {
        platform = reel::ScriptedPlatform();
        form = std::make_unique<TinyForm>();
        session = std::make_unique<reelqt::Session>(platform);
        binding = &session->bind(*form, tinyWindow());
    }

    void cleanup() {
        session.reset();
        form.reset();
    }

    void everyControlIsFound() {
        QVERIFY(binding->missingControls().empty());
        QVERIFY(binding->action("mnuExit"));
        QVERIFY(qobject_cast<QMenu*>(binding->widget("mnuFileMenu")));
    }

    void syncShowsTheFormWithoutRunningHandlers() {
        showActive();
        reel::Form& f = *form;
        f.caption = "Record  3/ 9";
        f.backColour = reel::makeColour(0, 0, 255);
        f["lblName"].text = "Press <Enter>\r\nthen wait";
        f["lblName"].foreColour = reel::makeColour(255, 255, 0);
        f["txtName"].text = "  Am\xC3\xA9lie";
        f["txtName"].backColour = reel::makeColour(255, 255, 255);
        f["txtName"].foreColour = reel::makeColour(0, 0, 255);
        f["txtName"].maxLength = 12;
        f["txtOther"].visible = false;
        f["cmdGo"].enabled = false;
        f["optA"].checked = true;
        f["List1"].items = {"CLV", "CAV"};
        f["List1"].listIndex = 1;
        f["mnuExit"].text = "Leave";
        f["mnuExit"].enabled = false;
        session->syncAll();

        QCOMPARE(binding->root()->windowTitle(), QString("Record  3/ 9"));
        QCOMPARE(get<QLabel>("lblName")->text(), QString("Press <Enter>\nthen wait"));
        QCOMPARE(get<QLabel>("lblName")->palette().color(QPalette::WindowText),
                 QColor(255, 255, 0));
        auto* name = get<QLineEdit>("txtName");
        QCOMPARE(name->text(), QString::fromUtf8("  Am\xC3\xA9lie"));
        QCOMPARE(name->maxLength(), 12);
        QCOMPARE(name->palette().color(QPalette::Base), QColor(255, 255, 255));
        QCOMPARE(name->palette().color(QPalette::Text), QColor(0, 0, 255));
        auto* central = static_cast<QMainWindow*>(binding->root())->centralWidget();
        QCOMPARE(central->palette().color(QPalette::Window), QColor(0, 0, 255));
        QVERIFY(get<QLineEdit>("txtOther")->isHidden());
        QVERIFY(!get<QPushButton>("cmdGo")->isEnabled());
        QVERIFY(get<QRadioButton>("optA")->isChecked());
        auto* list = get<QListWidget>("List1");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(binding->action("mnuExit")->text(), QString("Leave"));
        QVERIFY(!binding->action("mnuExit")->isEnabled());
        // Moving the selection, filling the box and hiding a control were
        // the program's own doing: no handler ran.
        QVERIFY2(form->log.empty(), form->log.empty() ? "" : form->log.front().c_str());

        f.visible = false;
        session->syncAll();
        QVERIFY(binding->root()->isHidden());
    }

    void widerTextAfterATighterLimitIsShownWhole() {
        // Leaving entry mode lifts the field-width limit and pads the value
        // for display in the same sync; the padded text must not be cut to
        // the old limit.
        showActive();
        reel::Form& f = *form;
        f["txtName"].maxLength = 3;
        f["txtName"].text = "119";
        session->syncAll();
        f["txtName"].maxLength = 0;
        f["txtName"].text = "     119";
        session->syncAll();
        QCOMPARE(get<QLineEdit>("txtName")->text(), QString("     119"));
    }

    void focusAndTypingReachTheForm() {
        showActive();
        auto* name = get<QLineEdit>("txtName");
        name->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("txtName"));
        QTest::keyClicks(name, "Ab");
        QCOMPARE(form->operator[]("txtName").text, std::string("Ab"));
        get<QLineEdit>("txtOther")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("txtOther"));

        const std::vector<std::string> expected = {
            "txtName GotFocus", "txtName KeyDown:65", "txtName KeyPress:65",
            "txtName Change",   "txtName KeyDown:66", "txtName KeyPress:98",
            "txtName Change",   "txtName LostFocus",  "txtOther GotFocus"};
        QCOMPARE(form->log, expected);
    }

    void clicksReachTheirHandlers() {
        showActive();
        QTest::mouseClick(get<QPushButton>("cmdGo"), Qt::LeftButton);
        QTest::mouseClick(get<QRadioButton>("optA"), Qt::LeftButton);
        QVERIFY(form->operator[]("optA").checked);
        binding->action("mnuExit")->trigger();
        QTest::mouseClick(get<QLabel>("lblName"), Qt::LeftButton);
        const std::vector<std::string> clicks = {"cmdGo Click", "optA Click", "mnuExit Click",
                                                 "lblName Click"};
        std::vector<std::string> seen;
        for (const std::string& line : form->log)
            if (line.find("Click") != std::string::npos) seen.push_back(line);
        QCOMPARE(seen, clicks);
    }

    void listMouseAndKeysCarryTheItem() {
        (*form)["List1"].items = {"DVD", "Laser", "VHS"};
        (*form)["List1"].listIndex = 0;
        showActive();
        auto* list = get<QListWidget>("List1");
        list->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("List1"));
        form->log.clear();

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(form->operator[]("List1").listIndex, 1);
        QCOMPARE(form->log, (std::vector<std::string>{"List1 KeyDown:40", "List1 Click@1"}));
        form->log.clear();

        // A press on an item is a choice: the handler closes the list, and
        // the press is used up.
        form->after = [this](const reel::Event& e) {
            if (e.kind == EventKind::MouseDown) {
                (*form)["List1"].visible = false;
                (*form)["List1"].items.clear();
            }
        };
        const QRect third = list->visualItemRect(list->item(2));
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(form->log.front(), std::string("List1 MouseDown@2"));
        QCOMPARE(form->log.size(), size_t(1));
        QVERIFY(list->isHidden());
        QCOMPARE(list->count(), 0);
    }

    void enterOnAListIsAKeyPress() {
        (*form)["List1"].items = {"CLV", "CAV"};
        (*form)["List1"].listIndex = 0;
        showActive();
        auto* list = get<QListWidget>("List1");
        list->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("List1"));
        form->log.clear();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(form->log, (std::vector<std::string>{"List1 KeyDown:13", "List1 KeyPress:13"}));
    }

    // A focus move made by a handler fires its events, after the handler,
    // and reaches the widgets without coming back as a second event.
    void focusRequestFiresItsEventsOnce() {
        showActive();
        form->after = [this](const reel::Event& e) {
            if (e.control == "cmdGo" && e.kind == EventKind::Click) form->setFocus("txtOther");
        };
        QTest::mouseClick(get<QPushButton>("cmdGo"), Qt::LeftButton);
        QTRY_VERIFY(get<QLineEdit>("txtOther")->hasFocus());
        QCOMPARE(form->focus(), std::string("txtOther"));
        QCoreApplication::processEvents();
        QCOMPARE(form->log, (std::vector<std::string>{"cmdGo GotFocus", "cmdGo MouseDown@-1",
                                                      "cmdGo Click", "cmdGo LostFocus",
                                                      "txtOther GotFocus"}));
        // The user moving on from there is an event again.
        form->after = nullptr;
        QTest::mouseClick(get<QLineEdit>("txtName"), Qt::LeftButton);
        QTRY_COMPARE(form->log.back(), std::string("txtName Click"));
        const std::vector<std::string> tail(form->log.end() - 4, form->log.end());
        QCOMPARE(tail, (std::vector<std::string>{"txtOther LostFocus", "txtName GotFocus",
                                                 "txtName MouseDown@-1", "txtName Click"}));
    }

    void lostFocusHandlerCanRedirectTheFocus() {
        showActive();
        get<QLineEdit>("txtName")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("txtName"));
        form->log.clear();
        form->after = [this](const reel::Event& e) {
            if (e.control == "txtName" && e.kind == EventKind::LostFocus) form->setFocus("cmdGo");
        };
        get<QLineEdit>("txtOther")->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(get<QPushButton>("cmdGo")->hasFocus());
        QCOMPARE(form->log, (std::vector<std::string>{"txtName LostFocus", "txtOther GotFocus",
                                                      "txtOther LostFocus", "cmdGo GotFocus"}));
    }

    // Typing, pasting, undoing and a value set by assistive technology all
    // reach the form as Change with the new text; the program's own text does not.
    void everyUserChangeOfATextIsAChange() {
        showActive();
        auto* name = get<QLineEdit>("txtName");
        name->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("txtName"));
        QStringList texts;
        form->after = [&](const reel::Event& e) {
            if (e.kind == EventKind::Change) texts << QString::fromStdString((*form)[e.control].text);
        };
        QTest::keyClicks(name, "ab");
        QApplication::clipboard()->setText("cd");
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QAccessible::queryAccessibleInterface(name)->editableTextInterface()->insertText(0, "X");
        (*form)["txtName"].text = "set by the program";
        session->syncAll();
        QCOMPARE(texts, (QStringList{"a", "ab", "abcd", "ab", "Xab"}));
        QCOMPARE(name->text(), QString("set by the program"));
    }

    void closeBoxAsksTheForm() {
        showActive();
        form->keepOpen = true;
        binding->root()->close();
        QVERIFY(binding->root()->isVisible());
        QVERIFY(form->visible);
        QCOMPARE(form->log.back(), std::string("form QueryClose"));

        form->keepOpen = false;
        QSignalSpy ended(session.get(), &reelqt::Session::finished);
        binding->root()->close();
        QVERIFY(!form->visible);
        QVERIFY(binding->root()->isHidden());
        QCOMPARE(ended.count(), 1);  // no window left
    }

    void f1OpensTheTopicOfTheFocusedControl() {
        showActive();
        get<QLineEdit>("txtName")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("txtName"));
        QTest::keyClick(get<QLineEdit>("txtName"), Qt::Key_F1);
        get<QLineEdit>("txtOther")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focus(), std::string("txtOther"));
        QTest::keyClick(get<QLineEdit>("txtOther"), Qt::Key_F1);
        QCOMPARE(platform.helpTopics, (std::vector<int>{7, 5}));
        // F1 is help, not a key for the handlers.
        for (const std::string& line : form->log)
            QVERIFY(line.find("KeyDown:112") == std::string::npos);
    }

    void handlerFaultIsShownAndTheProgramGoesOn() {
        showActive();
        form->after = [](const reel::Event& e) {
            if (e.control == "cmdGo" && e.kind == EventKind::Click)
                throw std::runtime_error("record 7 is unreadable");
        };
        std::vector<ModalAnswerer::Seen> seen;
        auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Ok);
        QTest::mouseClick(get<QPushButton>("cmdGo"), Qt::LeftButton);
        QCOMPARE(seen.size(), size_t(1));
        QVERIFY(seen[0].text.contains("record 7 is unreadable"));
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        form->after = nullptr;
        QTest::mouseClick(get<QRadioButton>("optA"), Qt::LeftButton);
        QCOMPARE(form->log.back(), std::string("optA Click"));
    }

    void textBoxIsNamedByItsCaption() {
        showActive();
        QCOMPARE(get<QLineEdit>("txtName")->accessibleName(), QString("Name"));
        (*form)["lblName"].text = "Film &Title";
        session->syncAll();
        QCOMPARE(get<QLineEdit>("txtName")->accessibleName(), QString("Film Title"));
        QCOMPARE(get<QPushButton>("cmdGo")->accessibleName(), QString("Go"));
    }
};

QTEST_MAIN(BindingTest)
#include "binding_test.moc"
