// A new film entered by keyboard alone on the real windows: the access keys
// of the buttons, Tab through the boxes, the picker lists opening with the
// focus in them, arrows and Enter choosing, page 2 opening by itself, and
// the record that reaches the master file.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "data/film_record.h"
#include "modal_answerer.h"
#include "qt/form_binding.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

QString sampleDir() {
    return qEnvironmentVariable("REELBOOK_SHARE_DIR") + "/sample";
}

QString focusedName() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

}  // namespace

class GuidedEntryTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<reelqt::QtPlatform> platform;
    std::unique_ptr<reel::CatalogueApp> app;
    std::unique_ptr<reelqt::Session> session;

    reelqt::FormBinding& main() { return *session->binding("frmtavlen3"); }
    QWidget* mainWidget(const char* name) { return main().widget(name); }

    void startToMainScreen() {
        app->start();
        session->syncAll();
        QTest::mouseClick(session->binding("Tavlenfrm1")->widget("cmdStart"), Qt::LeftButton);
        QTest::mouseClick(session->binding("frmStarter1")->widget("Command1"), Qt::LeftButton);
        QWidget* root = main().root();
        QVERIFY(root->isVisible());
        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        QTRY_COMPARE(focusedName(), QString("cmdSave"));
    }

    // Keys go where the user's keys go: to the control with the focus. The
    // event loop runs between two keys, as it does between a user's keys.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClick(target, k, modifiers);
        QCoreApplication::processEvents();
    }
    void type(const QString& text) {
        for (QChar ch : text) {
            QWidget* target = QApplication::focusWidget();
            QVERIFY(target);
            QTest::keyClicks(target, QString(ch));
            QCoreApplication::processEvents();
        }
    }
    void tab() { key(Qt::Key_Tab); }
    void down(int times) {
        for (int i = 0; i < times; ++i) key(Qt::Key_Down);
    }

    int records() const {
        return static_cast<int>(QFile(dir->filePath("Tavlen.Dat")).size() / 649);
    }

    reel::FilmRecord storedRecord(int n) const {
        QFile master(dir->filePath("Tavlen.Dat"));
        if (!master.open(QIODevice::ReadOnly) || !master.seek(qint64(n - 1) * 649)) return {};
        const QByteArray bytes = master.read(reel::FilmRecord::Size);
        if (bytes.size() != reel::FilmRecord::Size) return {};
        return reel::FilmRecord::fromBytes(std::string_view(bytes.constData(), bytes.size()));
    }

  private slots:
    void initTestCase() {
        reelqt::initResources();
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
    }

    void cleanup() {
        session.reset();
        app.reset();
        platform.reset();
        dir.reset();
    }

    void vhsFilmEnteredByKeyboardAlone() {
        startToMainScreen();
        const int before = records();
        {
            std::vector<ModalAnswerer::Seen> seen;
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Yes);
            key(Qt::Key_W, Qt::AltModifier);
            QTRY_COMPARE(seen.size(), size_t(1));
            QCOMPARE(seen[0].text, QString("Are you sure you want to add a new record?"));
        }
        main().root()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main().root()));
        QTRY_COMPARE(focusedName(), QString("txtTitle"));

        type("Guided By Keys");
        tab();
        QTRY_COMPARE(focusedName(), QString("txtDirector"));
        type("Kay Board");
        tab();
        type("First Star");
        for (int star = 2; star <= 6; ++star) tab();
        QTRY_COMPARE(focusedName(), QString("txtStar6"));
        tab();
        type("Keys Video");

        // The format list opens below its box with the focus in it.
        tab();
        QTRY_COMPARE(focusedName(), QString("List3"));
        auto* formats = qobject_cast<QListWidget*>(mainWidget("List3"));
        QCOMPARE(formats->currentItem()->text(), QString("DVD"));
        QVERIFY(formats->geometry().top() <= mainWidget("txtFormat")->geometry().bottom() + 1);
        QCOMPARE(formats->geometry().left(), mainWidget("txtFormat")->geometry().left());
        down(2);
        QCOMPARE(qobject_cast<QLineEdit*>(mainWidget("txtFormat"))->text(), QString("VHS"));
        key(Qt::Key_Return);
        QVERIFY(formats->isHidden());
        QTRY_COMPARE(focusedName(), QString("txtNumReel"));
        QVERIFY(mainWidget("txtCassNo")->isVisible());
        type("2");

        // Genre by arrows: "MU = Musical" is the fourteenth item.
        tab();
        QTRY_COMPARE(focusedName(), QString("List1"));
        down(13);
        key(Qt::Key_Return);
        QTRY_COMPARE(focusedName(), QString("txtTime"));
        QCOMPARE(qobject_cast<QLineEdit*>(mainWidget("txtGenreList"))->text(), QString("Musicals"));
        type("95");
        tab();
        type("1985");
        tab();
        QTRY_COMPARE(focusedName(), QString("txtCassNo"));

        // The first key in the cassette box stays there and opens the aspect list.
        type("7");
        QTRY_COMPARE(focusedName(), QString("List4"));
        down(1);
        key(Qt::Key_Return);
        // No CAV/CLV for a cassette: straight on to colour.
        QTRY_COMPARE(focusedName(), QString("List6"));
        QVERIFY(mainWidget("List5")->isHidden());
        down(1);
        key(Qt::Key_Return);

        // Page 2 comes up by itself.
        QTRY_COMPARE(focusedName(), QString("txtProducer"));
        QVERIFY(mainWidget("txtTitle")->isHidden());
        QVERIFY(qobject_cast<QRadioButton*>(mainWidget("optnoteson"))->isChecked());
        type("Pro Ducer");

        key(Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!app->mainScreen().state.EntryMode);
        QVERIFY(mainWidget("txtTitle")->isVisible());

        QCOMPARE(records(), before + 1);
        const reel::FilmRecord stored = storedRecord(before + 1);
        using reel::Field;
        const std::pair<Field, std::string> expected[] = {
            {Field::Title, "Guided By Keys"},
            {Field::Director, "Kay Board"},
            {Field::Star1, "First Star"},
            {Field::Star2, ""},
            {Field::Label, "Keys Video"},
            {Field::Format, "V"},
            {Field::NumReel, "2"},
            {Field::Genre, "MU"},
            {Field::Time, "95"},
            {Field::Year, "1985"},
            {Field::CassNo, "7"},
            {Field::Letter, "P"},
            {Field::CLV, ""},
            {Field::Color, "B & W"},
            {Field::Producer, "Pro Ducer"},
            {Field::Cinematographer, ""},
        };
        for (const auto& [field, value] : expected) QCOMPARE(stored.value(field), value);
    }

    void laserFilmPassesThroughCavClv() {
        startToMainScreen();
        {
            std::vector<ModalAnswerer::Seen> seen;
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Yes);
            key(Qt::Key_W, Qt::AltModifier);
            QTRY_COMPARE(seen.size(), size_t(1));
        }
        main().root()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main().root()));
        QTRY_COMPARE(focusedName(), QString("txtTitle"));
        type("Disc Film");
        for (int box = 0; box < 9; ++box) tab();  // director, six stars, label, format
        QTRY_COMPARE(focusedName(), QString("List3"));
        down(1);
        key(Qt::Key_Return);  // Laser
        QTRY_COMPARE(focusedName(), QString("txtNumReel"));
        tab();
        QTRY_COMPARE(focusedName(), QString("List1"));
        key(Qt::Key_Return);  // AA
        QTRY_COMPARE(focusedName(), QString("txtTime"));
        tab();
        tab();  // the cassette box is hidden for a disc: on to the aspect list
        QTRY_COMPARE(focusedName(), QString("List4"));
        key(Qt::Key_Return);
        QTRY_COMPARE(focusedName(), QString("List5"));
        key(Qt::Key_Return);  // CLV, the first item
        QTRY_COMPARE(focusedName(), QString("List6"));
        key(Qt::Key_Return);
        QTRY_COMPARE(focusedName(), QString("txtProducer"));

        const int before = records();
        key(Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!app->mainScreen().state.EntryMode);
        QCOMPARE(records(), before + 1);
        const reel::FilmRecord stored = storedRecord(before + 1);
        QCOMPARE(stored.value(reel::Field::Format), std::string("L"));
        QCOMPARE(stored.value(reel::Field::Genre), std::string("AA"));
        QCOMPARE(stored.value(reel::Field::Letter), std::string("W"));
        QCOMPARE(stored.value(reel::Field::CLV), std::string("CLV"));
        QCOMPARE(stored.value(reel::Field::Color), std::string("Color"));
    }

    // Both page buttons carry Alt+T; on each page it must switch to the other.
    void altTSwitchesToTheOtherPage() {
        startToMainScreen();
        auto* toPage2 = qobject_cast<QRadioButton*>(mainWidget("optnoteson"));
        auto* toPage1 = qobject_cast<QRadioButton*>(mainWidget("optNotesoff"));
        QVERIFY(toPage1->isChecked());
        for (int round = 0; round < 2; ++round) {
            key(Qt::Key_T, Qt::AltModifier);
            QTRY_VERIFY(toPage2->isChecked());
            QVERIFY(mainWidget("txtProducer")->isVisible());
            QVERIFY(mainWidget("txtTitle")->isHidden());
            key(Qt::Key_T, Qt::AltModifier);
            QTRY_VERIFY(toPage1->isChecked());
            QVERIFY(mainWidget("txtTitle")->isVisible());
            QVERIFY(mainWidget("txtProducer")->isHidden());
        }
    }

    void altEEditsAndAltSSavesTheRecordShown() {
        startToMainScreen();
        key(Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(app->mainScreen().state.EntryMode);
        auto* year = qobject_cast<QLineEdit*>(mainWidget("txtYear"));
        QTest::mouseClick(year, Qt::LeftButton);
        QTRY_COMPARE(focusedName(), QString("txtYear"));
        year->selectAll();
        type("1901");
        key(Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!app->mainScreen().state.EntryMode);
        QCOMPARE(storedRecord(1).value(reel::Field::Year), std::string("1901"));
    }
};

QTEST_MAIN(GuidedEntryTest)
#include "guided_entry_test.moc"
