// The copy window on its real widgets: it is modal, its lists show the form's
// items, a file click enables the drive list, and choosing a place there
// copies the file after the question (a temporary folder stands in for a
// removable volume). Also the colour dialog's colour conversion.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "data/master_file.h"
#include "modal_answerer.h"
#include "prefs/copy_window.h"
#include "qt/form_binding.h"
#include "qt/qt_colour.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

// The real platform with one scripted "removable volume".
class VolumePlatform : public reelqt::QtPlatform {
  public:
    std::string volumeRoot;
    std::vector<reel::Volume> removableVolumes() override { return {{"STICK", volumeRoot}}; }
};

}  // namespace

class CopyWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir, stick;
    std::unique_ptr<VolumePlatform> platform;
    std::unique_ptr<reel::CatalogueApp> app;
    std::unique_ptr<reelqt::Session> session;

    reelqt::FormBinding& copyBinding() { return *session->binding("frmCopy"); }
    template <typename T>
    T* copyWidget(const char* name) {
        return qobject_cast<T*>(copyBinding().widget(name));
    }

    void openCopyWindow() {
        app->start();
        session->syncAll();
        QTest::mouseClick(session->binding("Tavlenfrm1")->widget("cmdStart"), Qt::LeftButton);
        QVERIFY(session->binding("frmtavlen3")->root()->isVisible());
        session->binding("frmtavlen3")->action("mnuCopy")->trigger();
        QVERIFY(copyBinding().root()->isVisible());
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        stick = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid() && stick->isValid());
        {
            reel::MasterFile master(dir->path().toStdString());
            QVERIFY(master.open());
            reel::FilmRecord film;
            film.set(reel::Field::Title, "Copied Film");
            QVERIFY(master.writeRecord(1, film));
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

    void windowHasEveryControlAndIsModal() {
        reelqt::FormBinding* binding = session->binding("frmCopy");
        QVERIFY(binding);
        std::string missing;
        for (const std::string& control : binding->missingControls()) missing += control + " ";
        QVERIFY2(missing.empty(), missing.c_str());
        QCOMPARE(binding->root()->windowModality(), Qt::ApplicationModal);
        QVERIFY(binding->root()->isHidden());
        QVERIFY(qobject_cast<QComboBox*>(binding->widget("Drive1")));
    }

    void copyGoesThroughTheWidgets() {
        openCopyWindow();
        QWidget* root = copyBinding().root();
        QCOMPARE(root->windowTitle(), QString("Copy Files"));
        QCOMPARE(QApplication::activeModalWidget(), root);
        QVERIFY(!app->mainScreen().master.isOpen());

        auto* files = copyWidget<QListWidget>("File1");
        auto* drives = copyWidget<QComboBox>("Drive1");
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), QString("Tavlen.Dat"));
        QCOMPARE(drives->count(), 2);
        QCOMPARE(drives->itemText(0), QString("STICK"));
        QCOMPARE(drives->currentIndex(), -1);
        QVERIFY(!drives->isEnabled());
        QVERIFY(copyWidget<QLabel>("lblCopy3")->isHidden());

        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        // Gaining the focus picks no file by itself.
        QTest::qWait(50);
        QVERIFY(!drives->isEnabled());
        QCOMPARE(files->currentRow(), -1);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(files->item(0)).center());
        QVERIFY(drives->isEnabled());
        QVERIFY(copyWidget<QLabel>("lblCopy3")->isVisible());

        drives->setFocus();
        QTRY_VERIFY(copyWidget<QLabel>("lblCopy4")->isVisible());
        std::vector<ModalAnswerer::Seen> seen;
        {
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::Yes);
            QTest::keyClick(drives, Qt::Key_Down);  // the first entry: the stick
        }
        QCOMPARE(seen.size(), std::size_t(1));
        QCOMPARE(seen[0].text,
                 QString("Do you want to copy Tavlen.Dat to Drive STICK hit Yes, or No "));
        QCOMPARE(seen[0].title, QString("Reelvane Deluxe Edition"));
        QVERIFY(QFile::exists(stick->filePath("Tavlen.Dat")));
        QCOMPARE(QFile(stick->filePath("Tavlen.Dat")).size(), qint64(649));
        QVERIFY(root->isHidden());
        QVERIFY(app->mainScreen().master.isOpen());
    }

    void replaceQuestionShowsItsBlocksOnSeparateLines() {
        QFile old(stick->filePath("Tavlen.Dat"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        openCopyWindow();
        auto* files = copyWidget<QListWidget>("File1");
        files->setCurrentRow(0);  // a selection change is a click
        std::vector<ModalAnswerer::Seen> seen;
        {
            auto answerer = ModalAnswerer::pressing(seen, QMessageBox::No);
            emit copyWidget<QComboBox>("Drive1")->activated(0);
        }
        QCOMPARE(seen.size(), std::size_t(1));
        const QStringList lines = seen[0].text.split('\n');
        QCOMPARE(lines.size(), 7);
        QVERIFY(lines[0].endsWith("REPLACE CURRENT FILE ON DRIVE \"STICK\""));
        QVERIFY(lines[1].isEmpty());
        QVERIFY(lines[2].contains("Its size is 3 bytes."));
        QCOMPARE(lines[4], QString("    WITH CURRENT FILE ON \"HARD DISK\""));
        QVERIFY(lines[6].startsWith("TAVLEN.DAT was created or last modified on "));
        QVERIFY(copyBinding().root()->isHidden());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }

    void doubleClickOnAFolderOpensIt() {
        // Two subfolders, so the line clicked is not where the opened folder's line will be.
        QVERIFY(QDir(dir->path()).mkpath("aa"));
        QVERIFY(QDir(dir->path()).mkpath("zz archive"));
        QFile data(dir->filePath("zz archive/Old.DAT"));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.close();
        openCopyWindow();
        QWidget* root = copyBinding().root();
        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        auto* folders = copyWidget<QListWidget>("Dir1");
        const QList<QListWidgetItem*> found = folders->findItems("zz archive", Qt::MatchEndsWith);
        QCOMPARE(found.size(), 1);
        const QPoint at = folders->visualItemRect(found[0]).center();
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(copyWidget<QListWidget>("File1")->count(), 1);
        QCOMPARE(copyWidget<QListWidget>("File1")->item(0)->text(), QString("Old.DAT"));
        // The folder now open is the last line of the path, and it is the one selected.
        QCOMPARE(folders->count(), folders->currentRow() + 1);
        QVERIFY(folders->currentItem()->text().endsWith("zz archive"));
        QCOMPARE(folders->selectedItems().size(), 1);
        QCOMPARE(folders->selectedItems()[0], folders->currentItem());
    }

    void colourValuesKeepRedInTheLowByte() {
        QCOMPARE(reelqt::toQColor(0x00FF0000), QColor(0, 0, 255));
        QCOMPARE(reelqt::toQColor(65535), QColor(255, 255, 0));
        QCOMPARE(reelqt::fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    }
};

QTEST_MAIN(CopyWindowTest)
#include "copy_window_test.moc"
