// While "Sort All Files" runs the engine, the window keeps repainting: the
// engine's drain callback syncs the forms and lets paint events through, so
// the progress text is painted run by run.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "indexes/index_module.h"
#include "modal_answerer.h"
#include "qt/form_binding.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

// Notes every paint of a widget that happens while a build is running.
class PaintWatcher : public QObject {
  public:
    PaintWatcher(QLabel* label, const reel::IndexModule& module) : label_(label), module_(module) {
        label->installEventFilter(this);
    }
    QStringList textsPainted;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint && module_.building() &&
            (textsPainted.isEmpty() || textsPainted.back() != label_->text().trimmed()))
            textsPainted.push_back(label_->text().trimmed());
        return false;
    }

  private:
    QLabel* label_;
    const reel::IndexModule& module_;
};

}  // namespace

class IndexBuildRepaintTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { reelqt::initResources(); }

    void progressIsPaintedWhileTheEngineRuns() {
        const QString sample = qEnvironmentVariable("REELBOOK_SHARE_DIR") + "/sample";
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString& name : QDir(sample).entryList(QDir::Files))
            QVERIFY(QFile::copy(sample + "/" + name, dir.filePath(name)));
        QFile fo(dir.filePath("Fo"));
        QVERIFY(fo.open(QIODevice::WriteOnly));
        fo.write("NO\r\n");
        fo.close();
        QFile::remove(dir.filePath("Titleqen"));

        reelqt::QtPlatform platform;
        reel::CatalogueApp app(platform, dir.path().toStdString());
        auto installed = std::make_unique<reel::IndexModule>(
            qEnvironmentVariable("REELBOOK_LIB_DIR").toStdString() + "/libsorvel32.so");
        const reel::IndexModule& module = *installed;
        app.mainScreen().install(std::move(installed));
        reelqt::Session session(platform);
        platform.setSession(&session);
        reelqt::bindWindows(session, app);

        app.start();
        session.syncAll();
        session.dispatch(app.titleScreen(), reel::Event{"cmdStart", reel::EventKind::Click});
        QWidget* root = session.binding("frmtavlen3")->root();
        QVERIFY(root->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(root));

        auto* progress = qobject_cast<QLabel*>(session.binding("frmtavlen3")->widget("lblSorting"));
        QVERIFY(progress);
        PaintWatcher watcher(progress, module);
        std::vector<ModalAnswerer::Seen> seen;
        ModalAnswerer yes = ModalAnswerer::pressing(seen, QMessageBox::Yes);
        auto* sort = root->findChild<QAction*>("mnuSortTitle");
        QVERIFY(sort);
        sort->trigger();

        QCOMPARE(seen.size(), std::size_t{1});
        QVERIFY(seen[0].text.endsWith("Do you want to sort?"));
        // The line breaks in front of the text are the toolkit's business.
        QCOMPARE(watcher.textsPainted,
                 QStringList({"Sorting Titles", "Sorting DVD", "Sorting Lasers", "Sorting VHS"}));
        QVERIFY(!module.building());
        QVERIFY(QFile::exists(dir.filePath("Titleqen")));
        QVERIFY(!progress->isVisible());  // the closing Reset hid it again
    }
};

QTEST_MAIN(IndexBuildRepaintTest)
#include "index_build_repaint_test.moc"
