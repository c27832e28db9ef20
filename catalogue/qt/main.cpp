// reelbook [OPTION...] [DIR]: the film catalogue. DIR is the folder that
// holds the catalogue's files and becomes the working folder; without it,
// the user's catalogue folder ($XDG_DATA_HOME/reelbook), made on first start.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/catalogue_home.h"
#include "app/command_line.h"
#include "app/program_folders.h"
#include "exchange/exchange_command.h"
#include "qt/accessibility.h"
#include "qt/form_binding.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "program/catalogue_app.h"

namespace {

const QString kCaption = QStringLiteral("Reelvane Deluxe Edition");

int refuse(const std::string& message) {
    std::fprintf(stderr, "reelbook: %s\n", message.c_str());
    QMessageBox::critical(nullptr, QStringLiteral("Dovelmark 1"), QString::fromStdString(message));
    return 1;
}

// A catalogue folder that has never held a catalogue: offer the sample,
// so that a first look shows films, indexes and reports at work.
void offerSample(const std::string& folder) {
    const std::string sample = reel::sampleCatalogueFolder(reel::runningProgramFolder());
    if (::access((sample + "/Tavlen.Dat").c_str(), R_OK) != 0) return;  // none shipped
    const QString question =
        QStringLiteral("Your film catalogue is kept in the folder\n%1\n\n"
                       "Would you like to start with a copy of the sample catalogue to look "
                       "around? Choose No to start with an empty catalogue.")
            .arg(QString::fromStdString(folder));
    if (QMessageBox::question(nullptr, kCaption, question, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::Yes) != QMessageBox::Yes)
        return;
    if (reel::IoResult copied = reel::copySampleCatalogue(sample, folder); !copied) {
        QMessageBox::warning(nullptr, kCaption,
                             QString::fromStdString(copied.message +
                                                    "\n\nThe catalogue starts empty instead."));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // Everything the arguments can ask for without a window is answered
    // before the toolkit starts, so it works without a display.
    // A part of the program with options of its own adds them to `options`
    // here (options.addOption) and acts on them once they are parsed: before
    // the toolkit starts when it needs no window.
    reel::CommandLineParser options;
    reel::exchange::addExchangeOptions(options);
    const reel::CommandLine command = options.parse(argc, argv);
    if (!command.ok()) {
        std::fprintf(stderr, "reelbook: %s\nTry 'reelbook --help'.\n", command.error().c_str());
        return 2;
    }
    if (command.help()) {
        std::fputs(options.usage().c_str(), stdout);
        return 0;
    }
    if (command.version()) {
        std::printf("%s\n", reel::versionText().c_str());
        return 0;
    }
    if (const std::optional<int> status = reel::exchange::runExchangeCommand(command))
        return *status;

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("reelbook"));
    QApplication::setQuitOnLastWindowClosed(false);  // the catalogue decides when it ends
    reelqt::initResources();
    reelqt::installTestIds(qapp);

    // The catalogue's folder becomes the working folder: the catalogue's
    // files are named relative to it.
    bool firstStart = false;
    std::string folder;
    if (command.folder()) {
        folder = *command.folder();
    } else {
        folder = reel::userCatalogueFolder(reel::processEnvironment());
        if (folder.empty())
            return refuse("There is no home folder (HOME is not set) to keep the catalogue in; "
                          "name a catalogue folder: reelbook DIR.");
        const reel::CatalogueFolder prepared = reel::prepareCatalogueFolder(folder);
        if (!prepared.result) return refuse(prepared.result.message);
        firstStart = prepared.firstStart;
    }
    if (::chdir(folder.c_str()) != 0)
        return refuse("The catalogue folder \"" + folder +
                      "\" cannot be opened: " + std::strerror(errno) + ".");
    if (firstStart) offerSample(folder);

    reelqt::QtPlatform platform;
    reel::CatalogueApp app(platform, ".");
    reelqt::Session session(platform);
    platform.setSession(&session);
    reelqt::bindWindows(session, app);
    session.setFinishedCheck([&app] { return app.finished(); });
    QObject::connect(&session, &reelqt::Session::finished, &qapp, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    app.start();
    session.syncAll();
    session.applyFocusRequests();
    if (app.finished() || platform.quitRequested()) return 0;
    return QApplication::exec();
}
