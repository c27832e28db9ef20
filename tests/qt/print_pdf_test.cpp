// Reports through the real printer device into PDF files: the text that
// comes back out of the PDF keeps the report's columns, pages and footers.
// Needs pdftotext (poppler-utils).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "data/master_file.h"
#include "platform/scripted_platform.h"
#include "qt/print/printer_choice.h"
#include "reports/report_features.h"
#include "screen/catalogue_app.h"

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The PDF's pages as text on the 7.2-point grid of 12-point Courier.
QStringList pdfPages(const QString& pdf) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {"-fixed", "7.2", pdf, "-"});
    if (!run.waitForFinished(30000) || run.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// The lines of a page that contain `needle`.
QStringList linesWith(const QString& page, const QString& needle) {
    QStringList out;
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (line.contains(needle)) out << line;
    return out;
}

}  // namespace

class PrintPdfTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir;

    // `count` films "Film 001" ... of 1950, drama, on VHS, with their index.
    void writeCatalogue(int count) {
        QByteArray index;
        {
            reel::MasterFile master(dir->path().toStdString());
            QVERIFY(master.open());
            for (int i = 1; i <= count; ++i) {
                const QString title = QStringLiteral("Film %1").arg(i, 3, 10, QLatin1Char('0'));
                reel::FilmRecord film;
                film.set(reel::Field::Title, title.toStdString());
                film.set(reel::Field::Year, "1950");
                film.set(reel::Field::Genre, "DR");
                film.set(reel::Field::Format, "V");
                film.set(reel::Field::Director, "Jean Renoir");
                film.set(reel::Field::Awards, "Best Film");
                QVERIFY(master.writeRecord(i, film));
                index += title.leftJustified(40, QLatin1Char(' ')).toLatin1() +
                         QByteArray::number(i).rightJustified(7, '0') + "\r\n";
            }
        }
        writeBytes(dir->filePath("Titleqen.Dat"), index);
        writeBytes(dir->filePath("Titleqen"), " " + QByteArray::number(count) + "\r\n");
        writeBytes(dir->filePath("Fo"), "NO\r\n");
    }

    // Prints the report of `menu` into `pdf` through the real device.
    void printReport(const char* menu, const QString& pdf) {
        reel::ScriptedPlatform platform;
        platform.printerFactory = [&pdf](std::string_view job) {
            return reelqt::openPdfDevice(pdf, job);
        };
        reel::CatalogueApp app(platform, dir->path().toStdString());
        app.start();
        app.titleScreen().click("cmdStart");
        app.mainScreen().install(std::make_unique<reel::CatalogueReports>());
        platform.messages.clear();
        platform.answers = {reel::MsgResult::Yes, reel::MsgResult::Ok};
        app.mainScreen().click(menu);
        QVERIFY(!platform.messages.empty());
        QVERIFY2(platform.lastMessage().rfind("End of file!", 0) == 0,
                 platform.lastMessage().c_str());
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void abridgedListKeepsItsColumnsOnTwoPages() {
        writeCatalogue(50);
        const QString pdf = dir->filePath("short.pdf");
        printReport("mnuShort", pdf);
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY(!QFileInfo::exists(pdf + ".part"));

        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        const QString header = linesWith(pages[0], "Format").value(0);
        QVERIFY(!header.isEmpty());
        const QStringList films = linesWith(pages[0], "Film 0");
        QCOMPARE(films.size(), 49);
        // The title starts two columns left of its caption; the other values
        // stand exactly under theirs.
        const qsizetype title = header.indexOf("Title");
        for (const QString& film : films) {
            QCOMPARE(film.indexOf("Film"), title - 2);
            QCOMPARE(film.indexOf("1950"), header.indexOf("Date"));
            QCOMPARE(film.indexOf("Drama"), header.indexOf("Genre"));
            QCOMPARE(film.indexOf("VHS"), header.indexOf("Format"));
        }
        QCOMPARE(linesWith(pages[0], "Short Print List").value(0).indexOf("Reelvane"), title + 12);
        // Page 2: the last film, the total and the footer, with no captions.
        QVERIFY(linesWith(pages[1], "Format").isEmpty());
        QCOMPARE(linesWith(pages[1], "Film 050").size(), 1);
        QCOMPARE(linesWith(pages[1], "TOTAL FILM(S)   50").size(), 1);
        const QString footer = linesWith(pages[1], "Page").value(0);
        QCOMPARE(footer.trimmed(), QString("Page  2"));
        QCOMPARE(footer.indexOf("Page"), title + 32);
    }

    void fullListBlocksLineUp() {
        writeCatalogue(9);
        const QString pdf = dir->filePath("full.pdf");
        printReport("mnuAll", pdf);
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        const QStringList firstLines = linesWith(pages[0], "(Dir.)");
        QCOMPARE(firstLines.size(), 8);
        for (const QString& line : firstLines) {
            QCOMPARE(line.indexOf("Jean Renoir"), firstLines[0].indexOf("Film") + 31);
            QCOMPARE(line.indexOf("REC #"), firstLines[0].indexOf("Film") + 69);
        }
        const QStringList awards = linesWith(pages[0], "Notes/Awards:");
        QCOMPARE(awards.size(), 8);
        QVERIFY(awards[0].contains(QRegularExpression("Best Film +:")));
    }

    void pdfNamesNeverReplaceAnEarlierReport() {
        const QString first = reelqt::freePdfName(dir->path(), "Short/List");
        QCOMPARE(QFileInfo(first).fileName(), QString("Short_List.pdf"));
        writeBytes(first, "x");
        QCOMPARE(QFileInfo(reelqt::freePdfName(dir->path(), "Short/List")).fileName(),
                 QString("Short_List (2).pdf"));
    }

    void abandonedReportLeavesNoFile() {
        const QString pdf = dir->filePath("dropped.pdf");
        {
            auto device = reelqt::openPdfDevice(pdf, "dropped");
            device->print("a begun page");
            device->newLine();
            device->abandon();
        }
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());
    }

    void unwritableFolderIsAClearError() {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("a printer is set up here");
        std::string error;
        auto device = reelqt::printerChoice().open("job", dir->filePath("missing"), &error);
        QVERIFY(!device);
        QVERIFY(error.find("cannot be written") != std::string::npos);
    }
};

QTEST_MAIN(PrintPdfTest)
#include "print_pdf_test.moc"
