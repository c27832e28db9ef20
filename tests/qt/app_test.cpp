// The catalogue program on its real windows and the sample catalogue: every
// control has its widget, start-up leads to record 1, and focus, clicks,
// typing, menus and F1 reach the catalogue's handlers.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "modal_answerer.h"
#include "qt/accessibility.h"
#include "qt/form_binding.h"
#include "qt/help_viewer.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

QString sampleDir() {
    return qEnvironmentVariable("REELBOOK_SHARE_DIR") + "/sample";
}

}  // namespace

class AppTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<reelqt::QtPlatform> platform;
    std::unique_ptr<reel::CatalogueApp> app;
    std::unique_ptr<reelqt::Session> session;

    reelqt::FormBinding& main() { return *session->binding("frmtavlen3"); }
    template <typename T>
    T* mainWidget(const char* name) {
        return qobject_cast<T*>(main().widget(name));
    }

    void click(const char* form, const char* control) {
        QWidget* w = session->binding(form)->widget(control);
        QVERIFY2(w && w->isVisible(), control);
        QTest::mouseClick(w, Qt::LeftButton);
    }

    // Title screen, Start, information screen, OK: the main screen.
    void startToMainScreen() {
        app->start();
        session->syncAll();
        click("Tavlenfrm1", "cmdStart");
        QVERIFY(session->binding("frmStarter1")->root()->isVisible());
        click("frmStarter1", "Command1");
        QWidget* root = main().root();
        QVERIFY(root->isVisible());
        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        QTRY_VERIFY(mainWidget<QToolButton>("cmdSave")->hasFocus());
    }

    int sampleRecords() const {
        return static_cast<int>(QFile(dir->filePath("Tavlen.Dat")).size() / 649);
    }

    QString sampleTitle(int record) const {
        QFile master(dir->filePath("Tavlen.Dat"));
        if (!master.open(QIODevice::ReadOnly) || !master.seek(qint64(record - 1) * 649)) return {};
        return QString::fromLatin1(master.read(40)).trimmed();
    }

  private slots:
    void initTestCase() {
        qputenv("REELBOOK_TEST_IDS", "1");
        reelqt::initResources();
        reelqt::installTestIds(*qApp);
        QVERIFY2(QFile::exists(sampleDir() + "/Tavlen.Dat"), qPrintable(sampleDir()));
    }

    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        for (const QString& name : QDir(sampleDir()).entryList(QDir::Files))
            QVERIFY(QFile::copy(sampleDir() + "/" + name, dir->filePath(name)));
        platform = std::make_unique<reelqt::QtPlatform>();
        app = std::make_unique<reel::CatalogueApp>(*platform, dir->path().toStdString());
        session = std::make_unique<reelqt::Session>(*platform);
        platform->setSession(session.get());
        reelqt::bindWindows(*session, *app);
        session->setFinishedCheck([this] { return app->finished(); });
    }

    void cleanup() {
        session.reset();
        app.reset();
        platform.reset();
        dir.reset();
    }

    void everyControlOfEveryWindowHasItsWidget() {
        for (const char* name : {"Tavlenfrm1", "frmStarter1", "frmtavlen3"}) {
            reelqt::FormBinding* binding = session->binding(name);
            QVERIFY2(binding, name);
            QCOMPARE(binding->root()->objectName(), QString(name));
            std::string missing;
            for (const std::string& control : binding->missingControls()) missing += control + " ";
            QVERIFY2(missing.empty(), (std::string(name) + ": " + missing).c_str());
        }
    }

    void mainScreenShowsRecordOneOfTheSample() {
        startToMainScreen();
        QVERIFY(session->binding("Tavlenfrm1")->root()->isHidden());
        QVERIFY(session->binding("frmStarter1")->root()->isHidden());
        const QString expected =
            QString("Reelvane Deluxe Record  1/ %1      Title Non Sorted").arg(sampleRecords());
        QCOMPARE(main().root()->windowTitle(), expected);
        QCOMPARE(mainWidget<QLineEdit>("txtTitle")->text().trimmed(), sampleTitle(1));
        QVERIFY(mainWidget<QLabel>("lblsorted")->isVisible());
        QVERIFY(mainWidget<QLabel>("lblsorted")->text().startsWith("No. Titles  "));
        // Default colours: blue window, yellow captions, white boxes, blue text.
        QWidget* surface = static_cast<QMainWindow*>(main().root())->centralWidget();
        QCOMPARE(surface->palette().color(QPalette::Window), QColor(0, 0, 255));
        QCOMPARE(mainWidget<QLabel>("lblTitle")->palette().color(QPalette::WindowText),
                 QColor(255, 255, 0));
        QCOMPARE(mainWidget<QLineEdit>("txtTitle")->palette().color(QPalette::Base),
                 QColor(255, 255, 255));
        QCOMPARE(mainWidget<QLineEdit>("txtTitle")->palette().color(QPalette::Text),
                 QColor(0, 0, 255));
        // Page 2, the grid and the pickers stay hidden.
        for (const char* hidden : {"txtProducer", "Text1_0", "Text3_19", "List1", "cmdNext20"})
            QVERIFY2(main().widget(hidden)->isHidden(), hidden);
    }

    void switchedOffInformationScreenIsSkipped() {
        QFile flag(dir->filePath("Fo"));
        QVERIFY(flag.open(QIODevice::WriteOnly));
        flag.write("NO\r\n");
        flag.close();
        app->start();
        session->syncAll();
        click("Tavlenfrm1", "cmdStart");
        QVERIFY(main().root()->isVisible());
        QVERIFY(session->binding("frmStarter1")->root()->isHidden());
    }

    void focusOnABoxReachesItsGuard() {
        startToMainScreen();
        std::vector<ModalAnswerer::Seen> seen;
        auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Ok);
        mainWidget<QLineEdit>("txtDirector")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(seen.size(), size_t(1));
        QCOMPARE(seen[0].text, QString("Hit edit to change."));
        QCOMPARE(seen[0].title, QString("Director"));
        QCOMPARE(seen[0].icon, QMessageBox::Warning);
        // Offscreen, nothing re-activates the window once the box is gone.
        main().root()->activateWindow();
        QTRY_VERIFY(mainWidget<QToolButton>("cmdSave")->hasFocus());
    }

    void clickOnNextShowsRecordTwo() {
        startToMainScreen();
        click("frmtavlen3", "cmdNext");
        QVERIFY(main().root()->windowTitle().startsWith("Reelvane Deluxe Record  2/"));
        QCOMPARE(mainWidget<QLineEdit>("txtTitle")->text().trimmed(), sampleTitle(2));
    }

    void typedTextReachesTheForm() {
        startToMainScreen();
        click("frmtavlen3", "cmdEdit");
        auto* year = mainWidget<QLineEdit>("txtYear");
        year->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(year->hasFocus());
        year->selectAll();
        QTest::keyClicks(year, "1999");
        QCOMPARE(app->mainScreen()["txtYear"].text, std::string("1999"));
        QCOMPARE(year->text(), QString("1999"));
    }

    void helpMenuAndF1OpenTheirTopics() {
        startToMainScreen();
        main().action("mnuHelp")->trigger();
        QVERIFY(platform->helpViewer());
        QVERIFY2(platform->helpViewer()->helpFile().topic(0), "help file beside the program");
        QCOMPARE(platform->helpViewer()->currentTopic(), 0);

        main().root()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main().root()));
        click("frmtavlen3", "cmdEdit");
        auto* stars = mainWidget<QLineEdit>("txtStar4");
        stars->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(stars->hasFocus());
        QTest::keyClick(stars, Qt::Key_F1);
        QCOMPARE(platform->helpViewer()->currentTopic(), 3);
    }

    void exitAsksBeforeEnding() {
        startToMainScreen();
        QSignalSpy ended(session.get(), &reelqt::Session::finished);
        {
            std::vector<ModalAnswerer::Seen> seen;
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::No);
            main().action("mnuExit")->trigger();
            QCOMPARE(seen.size(), size_t(1));
            QCOMPARE(seen[0].text, QString("Are you sure you want to quit?"));
        }
        QVERIFY(main().root()->isVisible());
        QCOMPARE(ended.count(), 0);
        {
            std::vector<ModalAnswerer::Seen> seen;
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Yes);
            main().root()->close();
            QCOMPARE(seen.size(), size_t(1));
        }
        QVERIFY(app->finished());
        QCOMPARE(ended.count(), 1);
        QVERIFY(main().root()->isHidden());
    }

    void controlsAreSpokenAndCarryTheirNames() {
        startToMainScreen();
        QCOMPARE(mainWidget<QLineEdit>("txtTitle")->accessibleName(), QString("Title"));
        QCOMPARE(mainWidget<QLineEdit>("txtNumReel")->accessibleName(),
                 QString("Number discs / tapes"));
        QCOMPARE(mainWidget<QToolButton>("cmdNew")->accessibleName(), QString("New"));
        for (const char* form : {"Tavlenfrm1", "frmStarter1", "frmtavlen3"}) {
            reelqt::FormBinding* binding = session->binding(form);
            for (const std::string& name : binding->form().controlNames()) {
                QWidget* w = binding->widget(name);
                if (!w) continue;  // menu items are actions, spoken by their text
                QCOMPARE(w->accessibleDescription(), QString::fromStdString(name));
                QVERIFY2(
                    !w->accessibleName().isEmpty() || name == "Label4" || name.rfind("lbl", 0) == 0,
                    name.c_str());
            }
        }
        // A box created later carries its name as well.
        std::vector<ModalAnswerer::Seen> seen;
        QString description;
        ModalAnswerer answerer([&description](QWidget* modal) {
            description = modal->accessibleDescription();
            static_cast<QDialog*>(modal)->reject();
        });
        platform->messageBox("Shown later", reel::MsgIcon::None, reel::MsgButtons::Ok, "");
        QCOMPARE(description, QString("msgBox"));
    }
};

QTEST_MAIN(AppTest)
#include "app_test.moc"
