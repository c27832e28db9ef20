// The main screen's focus, mouse and text events on the real windows, as a
// user makes them: a press on a picker's box while its list is open, clicks
// on guarded boxes while browsing, the focus moves the handlers make, a text
// set through the accessibility interface, and the copy window starting over
// after a place that cannot take the file.
#include <sys/stat.h>

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "data/master_file.h"
#include "modal_answerer.h"
#include "prefs/copy_window.h"
#include "qt/form_binding.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

// The real platform with one scripted "removable volume" for the copy window.
class VolumePlatform : public reelqt::QtPlatform {
  public:
    std::string volumeRoot;
    std::vector<reel::Volume> removableVolumes() override { return {{"STICK", volumeRoot}}; }
};

QString focusedName() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

QStringList titlesAndTexts(const std::vector<ModalAnswerer::Seen>& seen) {
    QStringList lines;
    for (const ModalAnswerer::Seen& s : seen) lines << s.title + ": " + s.text;
    return lines;
}

}  // namespace

class ScreenEventsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir, stick;
    std::unique_ptr<VolumePlatform> platform;
    std::unique_ptr<reel::CatalogueApp> app;
    std::unique_ptr<reelqt::Session> session;

    reelqt::FormBinding& main() { return *session->binding("frmtavlen3"); }
    template <typename T = QWidget>
    T* mainWidget(const char* name) {
        return qobject_cast<T*>(main().widget(name));
    }
    reel::MainScreen& screen() { return app->mainScreen(); }

    void activateMain() {
        main().root()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main().root()));
    }

    // Record 1 a laser disc, record 2 a tape; straight to the main screen.
    void startToMainScreen() {
        app->start();
        session->syncAll();
        QTest::mouseClick(session->binding("Tavlenfrm1")->widget("cmdStart"), Qt::LeftButton);
        QVERIFY(main().root()->isVisible());
        activateMain();
        QTRY_COMPARE(focusedName(), QString("cmdSave"));
    }

    reel::FilmRecord stored(int n) {
        QFile master(dir->filePath("Tavlen.Dat"));
        if (!master.open(QIODevice::ReadOnly) || !master.seek(qint64(n - 1) * 649)) return {};
        const QByteArray bytes = master.read(reel::FilmRecord::Size);
        return reel::FilmRecord::fromBytes(std::string_view(bytes.constData(), bytes.size()));
    }

  private slots:
    void initTestCase() { reelqt::initResources(); }

    void init() {
        dir = std::make_unique<QTemporaryDir>();
        stick = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid() && stick->isValid());
        {
            reel::MasterFile master(dir->path().toStdString());
            QVERIFY(master.open());
            reel::FilmRecord disc, tape;
            disc.set(reel::Field::Title, "Disc Film");
            disc.set(reel::Field::Director, "Old Director");
            disc.set(reel::Field::Format, "L");
            disc.set(reel::Field::Color, "Color");
            tape.set(reel::Field::Title, "Tape Film");
            tape.set(reel::Field::Format, "V");
            QVERIFY(master.writeRecord(1, disc));
            QVERIFY(master.writeRecord(2, tape));
        }
        QFile flag(dir->filePath("Fo"));
        QVERIFY(flag.open(QIODevice::WriteOnly));
        flag.write("NO\r\n");
        flag.close();
        platform = std::make_unique<VolumePlatform>();
        platform->volumeRoot = stick->path().toStdString();
        app = std::make_unique<reel::CatalogueApp>(*platform, dir->path().toStdString());
        session = std::make_unique<reelqt::Session>(*platform);
        platform->setSession(session.get());
        reelqt::bindWindows(*session, *app);
    }

    void cleanup() {
        session.reset();
        app.reset();
        platform.reset();
        stick.reset();
        dir.reset();
    }

    // With the format list open, a press on the format box takes the list's
    // selection and closes it, instead of closing and reopening it.
    void pressOnTheFormatBoxTakesTheListsChoice() {
        startToMainScreen();
        QTest::mouseClick(mainWidget("cmdEdit"), Qt::LeftButton);
        QVERIFY(screen().state.EntryMode);
        auto* format = mainWidget<QLineEdit>("txtFormat");
        auto* list = mainWidget<QListWidget>("List3");
        QTest::mouseClick(format, Qt::LeftButton);
        QTRY_COMPARE(focusedName(), QString("List3"));
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        // The box follows the selection, and the program's writing into it
        // is no typing that would close the list.
        QCOMPARE(format->text(), QString("VHS"));
        QVERIFY(list->isVisible());
        QTest::mouseClick(format, Qt::LeftButton);
        QVERIFY(list->isHidden());
        QCOMPARE(format->text(), QString("VHS"));
        QTRY_COMPARE(focusedName(), QString("cmdSave"));
        QVERIFY(list->isHidden());  // the release did not open it again
        QVERIFY(!screen()["txtCLV1"].enabled);  // the format box was left with "VHS"
        QTest::mouseClick(mainWidget("cmdSave"), Qt::LeftButton);
        QVERIFY(!screen().state.EntryMode);
        QCOMPARE(stored(1).value(reel::Field::Format), std::string("V"));
    }

    // While browsing, a click on a guarded box is the focus arriving (its
    // warning), then the click (its own warning, where it has one).
    void clickOnAGuardedBoxShowsTheFocusAndTheClickWarnings() {
        startToMainScreen();
        const std::pair<const char*, QStringList> cases[] = {
            {"txtFormat", {"Format: Hit edit to change.", "Dovelmark 1: Hit Edit To Change"}},
            {"txtCLV1", {"CAV/CLV: Hit edit to change.", "CAV / CLV: Hit edit to change."}},
            {"txtColor1",
             {"Color/B&W: Hit edit to change.", "Color/B & W: Hit edit to change."}},
            {"txtGenre", {"Genre: Hit edit to change."}},
            {"txtTitle", {"Title: Hit edit to change."}},
        };
        for (const auto& [box, expected] : cases) {
            std::vector<ModalAnswerer::Seen> seen;
            {
                auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Ok);
                QTest::mouseClick(mainWidget(box), Qt::LeftButton);
                QTRY_COMPARE(titlesAndTexts(seen), expected);
            }
            QCOMPARE(seen.front().icon, QMessageBox::Warning);
            QCOMPARE(screen().focus(), std::string("cmdSave"));
            QVERIFY(mainWidget("List3")->isHidden());
            activateMain();  // offscreen, nothing re-activates the window after a box
            QTRY_COMPARE(focusedName(), QString("cmdSave"));
        }
    }

    // Only the keyboard, while browsing: Tab or Shift+Tab from Save walks the
    // page shown. Each guarded box warns with its caption (the warning closed
    // with Enter) and hands the focus to Save, and the next key goes on from
    // that box, until the walk comes round to Save again.
    void keyboardWalkMeetsEveryGuardedBoxOfThePage() {
        const QStringList laserPage1 = {"Director", "Star1",   "Star2",     "Star3",  "Star4",
                                        "Star5",    "Star6",   "Label",     "Format", "Title",
                                        "Genre",    "Time",    "Year",      "Aspect", "CAV/CLV",
                                        "Color/B&W"};
        const QStringList tapePage1Back = {
            "Color/B&W", "Aspect", "Cass. No.", "Year",  "Time",  "Genre", "Title", "Format",
            "Label",     "Star6",  "Star5",     "Star4", "Star3", "Star2", "Star1", "Director"};
        const QStringList page2 = {"Producer",       "Cinematographer", "Writters",
                                   "Music Director", "Package",         "Awards",
                                   "Purchase Date",  "Purchase Price",  "Your Rating",
                                   "Choreographer",  "Art Director",    "Costume Design",
                                   "Sound",          "MPAA Rating"};
        struct Walk {
            const char* what;
            Qt::Key before;  // an access key pressed first, with Alt: Next, the page
            int record;
            bool page2;
            Qt::Key key;
            QStringList captions;
        };
        const Walk walks[] = {
            {"laser disc, page 1, Tab", Qt::Key_unknown, 1, false, Qt::Key_Tab, laserPage1},
            {"tape, page 1, Shift+Tab", Qt::Key_N, 2, false, Qt::Key_Backtab, tapePage1Back},
            {"page 2, Tab", Qt::Key_T, 2, true, Qt::Key_Tab, page2},
        };
        startToMainScreen();
        for (const Walk& walk : walks) {
            if (walk.before != Qt::Key_unknown)
                QTest::keyClick(QApplication::focusWidget(), walk.before, Qt::AltModifier);
            // An access key clicks its button a moment later.
            QTRY_COMPARE(screen().state.CurrentRecord, walk.record);
            QTRY_COMPARE(screen().state.NotesPage, walk.page2);
            QTRY_COMPARE(focusedName(), QString::fromStdString(screen().focus()));
            const QString start = focusedName();
            std::vector<ModalAnswerer::Seen> seen;
            ModalAnswerer answerer([&seen](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    seen.push_back({box->windowTitle(), box->text(), box->icon()});
                QTest::keyClick(modal, Qt::Key_Return);
            });
            for (int presses = 0; presses < 80; ++presses) {
                const size_t warned = seen.size();
                QTest::keyClick(QApplication::focusWidget(), walk.key);
                if (seen.size() == warned) {
                    if (focusedName() == start) break;
                    continue;
                }
                QCOMPARE(seen.back().text, QString("Hit edit to change."));
                activateMain();  // offscreen, nothing re-activates the window after a box
                QTRY_COMPARE(focusedName(), QString("cmdSave"));
            }
            QCOMPARE(focusedName(), start);
            QStringList captions;
            for (const ModalAnswerer::Seen& s : seen) captions << s.title;
            QVERIFY2(captions == walk.captions, qPrintable(QString(walk.what) + ": " +
                                                           captions.join(", ")));
            QVERIFY(!screen().state.EntryMode);
        }
    }

    // Focus moves made by handlers fire the leave handling: Tab into the
    // format box of a tape (the guard sends the focus to Save) disables the
    // CAV/CLV box; File > Save from the owner's rating runs its leave first.
    void handlerFocusMovesRunTheLeaveHandling() {
        startToMainScreen();
        QTest::mouseClick(mainWidget("cmdNext"), Qt::LeftButton);
        QCOMPARE(screen().state.CurrentRecord, 2);
        QVERIFY(screen()["txtCLV1"].enabled);
        {
            std::vector<ModalAnswerer::Seen> seen;
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Ok);
            mainWidget("txtFormat")->setFocus(Qt::BacktabFocusReason);
            QTRY_COMPARE(seen.size(), size_t(1));
            QCOMPARE(seen[0].title, QString("Format"));
        }
        QVERIFY(!screen()["txtCLV1"].enabled);
        activateMain();

        {
            std::vector<ModalAnswerer::Seen> seen;
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Yes);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
            QTRY_COMPARE(seen.size(), size_t(1));
        }
        activateMain();
        QTRY_COMPARE(focusedName(), QString("txtTitle"));
        QTest::keyClicks(mainWidget("txtTitle"), "Menu Saved");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);  // page 2
        QTRY_VERIFY(mainWidget("txtRatings")->isVisible());
        QTest::mouseClick(mainWidget("txtRatings"), Qt::LeftButton);
        QTRY_COMPARE(focusedName(), QString("txtRatings"));
        QTest::keyClicks(mainWidget("txtRatings"), "5");
        main().action("mnuSave")->trigger();
        QTRY_VERIFY(!screen().state.EntryMode);
        QVERIFY(mainWidget<QLabel>("lblNotes1")->text().contains("You have finished inputting"));
        QCOMPARE(stored(3).value(reel::Field::Title), std::string("Menu Saved"));
        QCOMPARE(stored(3).value(reel::Field::Ratings), std::string("5"));
    }

    // A value set by assistive technology is a change like typing: it is
    // stored. The program's own updates of the box never come back.
    void textSetThroughAccessibilityIsStored() {
        startToMainScreen();
        QTest::mouseClick(mainWidget("cmdEdit"), Qt::LeftButton);
        auto* director = mainWidget<QLineEdit>("txtDirector");
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(director);
        QVERIFY(spoken && spoken->editableTextInterface());
        const int length = director->text().size();
        spoken->editableTextInterface()->replaceText(0, length, "New Director");
        QCOMPARE(director->text(), QString("New Director"));
        QCOMPARE(screen()["txtDirector"].text, std::string("New Director"));

        // Genre by the same road: its name follows, as for a typed code.
        QAccessible::queryAccessibleInterface(mainWidget("txtGenre"))
            ->setText(QAccessible::Value, "MU");
        QCOMPARE(screen()["txtGenreList"].text, std::string("Musicals"));

        QTest::mouseClick(mainWidget("cmdSave"), Qt::LeftButton);
        QCOMPARE(stored(1).value(reel::Field::Director), std::string("New Director"));
        QCOMPARE(stored(1).value(reel::Field::Genre), std::string("MU"));
    }

    // A place that cannot take the file's path (here a pipe stands where the
    // copy would go): after the message the window is closed, which reopens
    // the master file, and opened afresh, saying to try again.
    void copyWindowStartsOverAfterAnInvalidPlace() {
        QVERIFY(::mkfifo(stick->filePath("Tavlen.Dat").toLocal8Bit().constData(), 0600) == 0);
        startToMainScreen();
        main().action("mnuCopy")->trigger();
        reelqt::FormBinding& copy = *session->binding("frmCopy");
        QWidget* root = copy.root();
        QVERIFY(root->isVisible());
        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        auto* files = qobject_cast<QListWidget*>(copy.widget("File1"));
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(files->item(0)).center());
        auto* drives = qobject_cast<QComboBox*>(copy.widget("Drive1"));
        QVERIFY(drives->isEnabled());
        std::vector<ModalAnswerer::Seen> seen;
        {
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Ok);
            drives->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(copy.widget("lblCopy4")->isVisible());
            QTest::keyClick(drives, Qt::Key_Down);
        }
        QCOMPARE(seen.size(), size_t(1));
        QVERIFY(seen[0].text.contains("Invalid argument"));
        QVERIFY(root->isVisible());
        QVERIFY(!app->mainScreen().master.isOpen());
        QVERIFY(copy.widget("lblCopy7")->isVisible());
        QVERIFY(copy.widget("lblCopy5")->isVisible());
        // Afresh: no file chosen, the drive list waits for one.
        QCOMPARE(files->currentRow(), -1);
        QVERIFY(!drives->isEnabled());
        QVERIFY(copy.widget("lblCopy3")->isHidden());
        QVERIFY(!app->copyWindow().abandoned());
    }
};

QTEST_MAIN(ScreenEventsTest)
#include "screen_events_test.moc"
