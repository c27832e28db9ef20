// reelbook [DIR]: the film catalogue. DIR is the folder that holds the
// catalogue's data files; without it, the current folder.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "exchange/exchange_command.h"
#include "qt/accessibility.h"
#include "qt/form_binding.h"
#include "qt/qt_platform.h"
#include "qt/session.h"
#include "qt/windows.h"
#include "screen/catalogue_app.h"

int main(int argc, char* argv[]) {
    // The exchange commands need no display: they run before any window exists.
    if (const std::optional<int> status = reel::exchange::runExchangeCommand(argc, argv, "."))
        return *status;

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("reelbook"));
    QApplication::setQuitOnLastWindowClosed(false);  // the catalogue decides when it ends
    reelqt::initResources();
    reelqt::installTestIds(qapp);

    const QStringList args = QApplication::arguments();
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: reelbook [DIR]\n%s",
                     std::string(reel::exchange::exchangeUsage()).c_str());
        return 2;
    }
    if (args.size() == 2) {
        const QByteArray dir = args.at(1).toLocal8Bit();
        if (::chdir(dir.constData()) != 0) {
            const QString message =
                QStringLiteral("The catalogue folder \"%1\" cannot be opened: %2.")
                    .arg(args.at(1), QString::fromLocal8Bit(std::strerror(errno)));
            std::fprintf(stderr, "reelbook: %s\n", message.toLocal8Bit().constData());
            QMessageBox::critical(nullptr, QStringLiteral("Dovelmark 1"), message);
            return 1;
        }
    }

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
