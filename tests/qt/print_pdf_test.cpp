// Reports through the real printer device into PDF files: the text that
// comes back out of the PDF keeps the report's columns, pages and footers.
// Needs pdftotext (poppler-utils).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "data/master_file.h"
#include "platform/scripted_platform.h"
#include "qt/print/printer_choice.h"
#include "qt/print/qt_print_device.h"
#include "reports/report_features.h"
#include "program/catalogue_app.h"

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The PDF's pages as text, read on the grid's column width.
QStringList pdfPages(const QString& pdf, double cell) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {"-fixed", QString::number(cell), pdf, "-"});
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

// Every word pdftotext finds, with its box in points, and the page sizes.
struct PdfWord {
    QString text;
    QRectF box;
};
struct PdfLayout {
    QList<QSizeF> pages;
    QList<PdfWord> words;
};

PdfLayout pdfLayout(const QString& pdf) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
    PdfLayout layout;
    if (!run.waitForFinished(30000) || run.exitCode() != 0) return layout;
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    static const QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = page.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        layout.pages << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        layout.words << PdfWord{m.captured(5), QRectF(QPointF(m.captured(1).toDouble(),
                                                              m.captured(2).toDouble()),
                                                      QPointF(m.captured(3).toDouble(),
                                                              m.captured(4).toDouble()))};
    }
    return layout;
}

}  // namespace

class PrintPdfTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir;
    double cell = 0;  // column width of the last report printed, in points

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

    // Three films, one of each format, whose fields are full to the last
    // character, with all four indexes: every report prints its widest lines.
    void writeWideCatalogue() {
        const char* formats[] = {"D", "L", "V"};
        QByteArray all;
        QByteArray byFormat[3];
        {
            reel::MasterFile master(dir->path().toStdString());
            QVERIFY(master.open());
            for (int i = 1; i <= 3; ++i) {
                reel::FilmRecord film;
                for (const reel::FieldSpec& layout : reel::fieldSpecs())
                    film.set(layout.field, std::string(static_cast<std::size_t>(layout.width), 'W'));
                const std::string title = "Wide " + std::to_string(i) + std::string(34, 'W');
                film.set(reel::Field::Title, title);
                film.set(reel::Field::Format, formats[i - 1]);
                film.set(reel::Field::Genre, "DR");
                film.set(reel::Field::NumReel, "2");
                film.set(reel::Field::Year, "1950");
                film.set(reel::Field::Director, std::string(24, 'W') + "Renoir");
                film.set(reel::Field::Star1, std::string(24, 'W') + "Gabin ");
                QVERIFY(master.writeRecord(i, film));
                const QByteArray entry = QByteArray::fromStdString(title) +
                                         QByteArray::number(i).rightJustified(7, '0') + "\r\n";
                all += entry;
                byFormat[i - 1] = entry;
            }
        }
        const char* names[] = {"DVDqen", "Laserqen", "VHSqen"};
        for (int f = 0; f < 3; ++f) {
            writeBytes(dir->filePath(QString(names[f]) + ".Dat"), byFormat[f]);
            writeBytes(dir->filePath(names[f]), " 1\r\n");
        }
        writeBytes(dir->filePath("Titleqen.Dat"), all);
        writeBytes(dir->filePath("Titleqen"), " 3\r\n");
        writeBytes(dir->filePath("Fo"), "NO\r\n");
    }

    // Prints the report of `menu` into `pdf` through the real device, on
    // paper of `size` (the printer's default when not given).
    void printReport(const char* menu, const QString& pdf,
                     std::optional<QPageSize::PageSizeId> size = std::nullopt,
                     const std::string& search = {}) {
        reel::ScriptedPlatform platform;
        platform.printerFactory = [this, &pdf, size](std::string_view job) {
            auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
            printer->setDocName(QString::fromUtf8(job.data(), qsizetype(job.size())));
            printer->setOutputFormat(QPrinter::PdfFormat);
            if (size) printer->setPageSize(QPageSize(*size));
            auto device = std::make_unique<reelqt::QtPrintDevice>(printer, pdf);
            cell = device->grid().cell;
            return std::unique_ptr<reel::PrintDevice>(std::move(device));
        };
        if (!search.empty()) platform.inputs = {search};
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

        const QStringList pages = pdfPages(pdf, cell);
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
        const QStringList pages = pdfPages(pdf, cell);
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

    // Printers cannot print at the very edge of the sheet: every report
    // keeps a quarter inch clear all round, also where the full list runs
    // to column 89, on A4 and on Letter.
    void everyReportStaysInsideTheMargins_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("search");
        const std::pair<const char*, QPageSize::PageSizeId> sizes[] = {{"A4", QPageSize::A4},
                                                                       {"Letter", QPageSize::Letter}};
        const std::pair<const char*, const char*> reports[] = {
            {"mnuAll", ""},       {"mnuShort", ""},           {"mnuDVD", ""},
            {"mnuLaser", ""},     {"mnuVHS", ""},             {"mnuDirector", "renoir"},
            {"mnuStars", "gabin"}, {"mnuGenre", "dr"}};
        for (const auto& [sizeName, size] : sizes)
            for (const auto& [menu, search] : reports)
                QTest::addRow("%s %s", menu, sizeName) << int(size) << menu << search;
    }

    void everyReportStaysInsideTheMargins() {
        QFETCH(int, size);
        QFETCH(QString, menu);
        QFETCH(QString, search);
        writeWideCatalogue();
        const QString pdf = dir->filePath("report.pdf");
        printReport(menu.toLatin1().constData(), pdf, QPageSize::PageSizeId(size),
                    search.toStdString());

        const PdfLayout layout = pdfLayout(pdf);
        QVERIFY(!layout.pages.isEmpty());
        const QSizeF paper = QPageSize(QPageSize::PageSizeId(size)).size(QPageSize::Point);
        QVERIFY(qAbs(layout.pages[0].width() - paper.width()) < 1);
        QVERIFY(layout.words.size() > 10);
        // pdftotext boxes a word from the face's full ascent to its full
        // descent, a quarter point more than the line pitch; the half point
        // of slack covers that (and rounding), not a misplaced column.
        const double slack = 0.5;
        const QRectF inside(18 - slack, 18 - slack, paper.width() - 36 + 2 * slack,
                            paper.height() - 36 + 2 * slack);
        for (const PdfWord& word : layout.words)
            QVERIFY2(inside.contains(word.box),
                     qPrintable(QStringLiteral("\"%1\" at %2,%3-%4,%5")
                                    .arg(word.text)
                                    .arg(word.box.left())
                                    .arg(word.box.top())
                                    .arg(word.box.right())
                                    .arg(word.box.bottom())));
        if (menu == "mnuAll") {
            // The sound field ends the widest line, whole.
            int sounds = 0;
            for (const PdfWord& word : layout.words)
                if (word.text == "SND:" || word.text.startsWith("SNDW")) ++sounds;
            QCOMPARE(sounds, 3);
            bool whole = false;
            for (const PdfWord& word : layout.words)
                if (word.text == QString(15, QLatin1Char('W'))) whole = true;
            QVERIFY(whole);
        }
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
