// The Qt layer's small parts: key codes, spoken captions, colours, removable
// mount points, the help file (the shipped one included) and its viewer, and
// the message and input boxes of the platform port.
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTest>
#include <set>

#include "modal_answerer.h"
#include "platform/print_device.h"
#include "qt/accessibility.h"
#include "qt/help_file.h"
#include "qt/help_viewer.h"
#include "qt/key_codes.h"
#include "qt/qt_colour.h"
#include "qt/qt_platform.h"

class PartsTest : public QObject {
    Q_OBJECT

  private slots:
    void keyCodes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<int>("character");
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << 13 << 13;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "\r" << 13 << 13;
        QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << 27 << 27;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << 8 << 8;
        QTest::newRow("tab types nothing") << int(Qt::Key_Tab) << "\t" << 9 << 0;
        QTest::newRow("down") << int(Qt::Key_Down) << "" << 40 << 0;
        QTest::newRow("up") << int(Qt::Key_Up) << "" << 38 << 0;
        QTest::newRow("F1") << int(Qt::Key_F1) << "" << 112 << 0;
        QTest::newRow("small a") << int(Qt::Key_A) << "a" << 65 << 97;
        QTest::newRow("capital Z") << int(Qt::Key_Z) << "Z" << 90 << 90;
        QTest::newRow("digit") << int(Qt::Key_7) << "7" << 55 << 55;
        QTest::newRow("e acute") << int(Qt::Key_Eacute) << QString(QChar(0xE9)) << 0 << 0xE9;
        QTest::newRow("euro sign has no code")
            << int(Qt::Key_unknown) << QString(QChar(0x20AC)) << 0 << 0;
        QTest::newRow("shift alone") << int(Qt::Key_Shift) << "" << 0 << 0;
    }
    void keyCodes() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, virtualKey);
        QFETCH(int, character);
        QCOMPARE(reelqt::virtualKeyCode(key), virtualKey);
        QCOMPARE(reelqt::characterCode(key, text), character);
    }

    void spokenCaptions_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("mnemonic") << "E&xit"
                                  << "Exit";
        QTest::newRow("double ampersand") << "B && W"
                                          << "B & W";
        QTest::newRow("padding") << "     Format            V - L- D       "
                                 << "Format V - L- D";
        QTest::newRow("line break") << "\nYou are now inputting on page 2.  "
                                    << "You are now inputting on page 2.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void spokenCaptions() {
        QFETCH(QString, caption);
        QFETCH(QString, spoken);
        QCOMPARE(reelqt::spokenText(caption), spoken);
    }

    void coloursKeepRedInTheLowByte() {
        QCOMPARE(reelqt::toQColor(16711680), QColor(0, 0, 255));  // the default background
        QCOMPARE(reelqt::toQColor(65535), QColor(255, 255, 0));   // the default captions
        for (reel::ColourValue v : {0, 16777215, 0x123456, 0x00FF00})
            QCOMPARE(reelqt::fromQColor(reelqt::toQColor(v)), v);
    }

    void removableMountPoints_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("removable");
        QTest::newRow("usb stick") << "/media/anna/STICK" << true;
        QTest::newRow("udisks") << "/run/media/anna/SD" << true;
        QTest::newRow("mnt") << "/mnt/floppy" << true;
        QTest::newRow("root") << "/" << false;
        QTest::newRow("home") << "/home" << false;
        QTest::newRow("lookalike") << "/mediator" << false;
    }
    void removableMountPoints() {
        QFETCH(QString, root);
        QFETCH(bool, removable);
        QCOMPARE(reelqt::isRemovableMountPoint(root.toStdString()), removable);
    }

    void helpFileSplitsIntoTopics() {
        reelqt::HelpFile file;
        QVERIFY(
            file.parse("<body><section id=\"0\"><h1>Contents</h1><a href=\"#12\">x</a></section>\n"
                       "<SECTION ID=\"12\" class=\"t\"><h2>Genre <i>Listed</i></h2>"
                       "<p>Shows the name.</p></SECTION>\n"
                       "<section id=\"7\"><p>no heading</p></section></body>"));
        QCOMPARE(file.topics().size(), size_t(3));
        QCOMPARE(file.topic(12)->title, QString("Genre Listed"));
        QVERIFY(file.topic(12)->html.contains("Shows the name."));
        QCOMPARE(file.topic(7)->title, QString());
        QVERIFY(!file.topic(13));
        QVERIFY(!file.parse("<html>no topics</html>"));
        QVERIFY(!file.error().isEmpty());
        QVERIFY(!file.load("/nonexistent/Dovelmark3.HLP"));
        QVERIFY(file.error().contains("could not be opened"));
    }

    // Every number the screens ask help for has its own topic in the
    // shipped file, and every link in it leads to a topic.
    void shippedHelpFileCoversEveryContext() {
        const auto path = reelqt::HelpFile::locate(qEnvironmentVariable("REELBOOK_BIN_DIR"));
        QVERIFY2(path, "Dovelmark3.HLP beside the program");
        reelqt::HelpFile file;
        QVERIFY2(file.load(*path), qPrintable(file.error()));
        const int contexts[] = {0,  1,  2,  3,  9,   10,  11,  12,  13,  14,  15,  17,
                                18, 29, 30, 31, 32,  33,  34,  35,  37,  38,  39,  40,
                                41, 42, 56, 70, 440, 450, 460, 470, 480, 490, 500, 520};
        for (int id : contexts) {
            const reelqt::HelpTopic* topic = file.topic(id);
            QVERIFY2(topic, qPrintable(QString("topic %1").arg(id)));
            QVERIFY2(!topic->title.isEmpty(), qPrintable(QString("title of %1").arg(id)));
        }
        static const QRegularExpression link(QStringLiteral("href=\"#(\\d+)\""));
        std::set<int> linked;
        for (const auto& [id, topic] : file.topics())
            for (auto it = link.globalMatch(topic.html); it.hasNext();) {
                const int target = it.next().captured(1).toInt();
                QVERIFY2(file.topic(target), qPrintable(QString("link to %1").arg(target)));
                linked.insert(target);
            }
        for (const auto& [id, topic] : file.topics())
            QVERIFY2(id == 0 || linked.count(id),
                     qPrintable(QString("%1 not in contents").arg(id)));
        // The installed copy in the data folder is the same file.
        QVERIFY(
            reelqt::HelpFile::locate(qEnvironmentVariable("REELBOOK_SHARE_DIR") + "/../../bin"));
    }

    void helpViewerFollowsLinksAndGoesBack() {
        QTemporaryDir dir;
        QFile f(dir.filePath("Dovelmark3.HLP"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "<section id=\"0\"><h1>Contents</h1></section>\n"
            "<section id=\"1\"><h2>Title</h2></section>\n"
            "<section id=\"490\"><h2>Format</h2></section>\n");
        f.close();
        reelqt::HelpViewer viewer;
        viewer.setHelpFile(f.fileName());
        viewer.showTopic(1);
        QCOMPARE(viewer.currentTopic(), 1);
        QCOMPARE(viewer.windowTitle(), QString("Reelvane Help - Title"));
        viewer.showTopic(490);
        viewer.showTopic(77);  // not in the file: the contents
        QCOMPARE(viewer.currentTopic(), 0);
        viewer.back();
        QCOMPARE(viewer.currentTopic(), 490);
        viewer.back();
        QCOMPARE(viewer.currentTopic(), 1);
        viewer.back();  // nothing before: stays
        QCOMPARE(viewer.currentTopic(), 1);

        reelqt::HelpViewer missing;
        missing.setHelpFile(dir.filePath("absent.HLP"));
        missing.showTopic(3);
        QVERIFY(!missing.helpFile().error().isEmpty());
    }

    void messageBoxShowsIconButtonsAndTitle() {
        reelqt::QtPlatform platform;
        struct Case {
            reel::MsgIcon icon;
            reel::MsgButtons buttons;
            const char* caption;
            QMessageBox::StandardButton press;
            QMessageBox::Icon qtIcon;
            const char* title;
            reel::MsgResult result;
        };
        const Case cases[] = {
            {reel::MsgIcon::Question, reel::MsgButtons::YesNo, "Reelvane Deluxe Edition",
             QMessageBox::No, QMessageBox::Question, "Reelvane Deluxe Edition",
             reel::MsgResult::No},
            {reel::MsgIcon::Exclamation, reel::MsgButtons::Ok, "", QMessageBox::Ok,
             QMessageBox::Warning, "Dovelmark 1", reel::MsgResult::Ok},
            {reel::MsgIcon::None, reel::MsgButtons::YesNo, "Title", QMessageBox::Yes,
             QMessageBox::NoIcon, "Title", reel::MsgResult::Yes},
            // Escape on a Yes/No question is the safe answer, No.
            {reel::MsgIcon::Question, reel::MsgButtons::YesNo, "Q", QMessageBox::NoButton,
             QMessageBox::Question, "Q", reel::MsgResult::No},
        };
        for (const Case& c : cases) {
            std::vector<ModalAnswerer::Seen> seen;
            QStringList buttons;
            ModalAnswerer answerer([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                seen.push_back({box->windowTitle(), box->text(), box->icon()});
                for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
                if (c.press == QMessageBox::NoButton)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->button(c.press)->click();
            });
            const reel::MsgResult result =
                platform.messageBox("Line one\r\nLine two", c.icon, c.buttons, c.caption);
            QCOMPARE(result, c.result);
            QCOMPARE(seen.size(), size_t(1));
            QCOMPARE(seen[0].title, QString(c.title));
            QCOMPARE(seen[0].icon, c.qtIcon);
            QCOMPARE(seen[0].text, QString("Line one\nLine two"));
            QCOMPARE(buttons.size(), c.buttons == reel::MsgButtons::YesNo ? 2 : 1);
        }
    }

    void inputBoxCancelGivesEmptyText() {
        reelqt::QtPlatform platform;
        QString prompt;
        {
            ModalAnswerer typing([&prompt](QWidget* modal) {
                auto* dialog = qobject_cast<QInputDialog*>(modal);
                prompt = dialog->labelText();
                dialog->findChild<QLineEdit*>()->setText("12abc");
                dialog->accept();
            });
            QCOMPARE(platform.inputBox("Enter File No To Search:", "Reelvane Deluxe Edition", ""),
                     std::string("12abc"));
            QCOMPARE(prompt, QString("Enter File No To Search:"));
        }
        ModalAnswerer cancelling([](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            dialog->findChild<QLineEdit*>()->setText("typed, then cancelled");
            dialog->reject();
        });
        QCOMPARE(platform.inputBox("Search", "Search", "DR"), std::string());
    }

    void printingWithoutAPrinterGoesToAPdfFile() {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("a printer is set up here");
        reelqt::QtPlatform platform;
        auto device = platform.openPrinter("Reelvane");
        QVERIFY(device);
        QVERIFY(device->destinationIsFile());
        device->abandon();  // nothing printed, no file left behind
    }
};

QTEST_MAIN(PartsTest)
#include "parts_test.moc"
