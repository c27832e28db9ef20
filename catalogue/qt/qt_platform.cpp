#include "qt/qt_platform.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStorageInfo>

#include "platform/print_device.h"
#include "qt/help_file.h"
#include "qt/help_viewer.h"
#include "qt/print/printer_choice.h"
#include "qt/qt_colour.h"
#include "qt/session.h"

namespace reelqt {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Message and input boxes take CR LF from the handlers as a line break, and
// LF CR too (the copy window's questions separate their blocks that way).
QString boxText(std::string_view text) {
    const QString s = fromUtf8(text);
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c != QChar('\r') && c != QChar('\n')) {
            out += c;
            continue;
        }
        out += QChar('\n');
        const bool pair = i + 1 < s.size() && s.at(i + 1) != c &&
                          (s.at(i + 1) == QChar('\r') || s.at(i + 1) == QChar('\n'));
        if (pair) ++i;
    }
    return out;
}

QMessageBox::Icon toQtIcon(reel::MsgIcon icon) {
    switch (icon) {
        case reel::MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case reel::MsgIcon::Question:
            return QMessageBox::Question;
        case reel::MsgIcon::Information:
            return QMessageBox::Information;
        case reel::MsgIcon::Critical:
            return QMessageBox::Critical;
        case reel::MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(reel::MsgButtons buttons) {
    switch (buttons) {
        case reel::MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case reel::MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case reel::MsgButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case reel::MsgButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

reel::MsgResult fromQtButton(int button, reel::MsgButtons asked) {
    switch (button) {
        case QMessageBox::Yes:
            return reel::MsgResult::Yes;
        case QMessageBox::No:
            return reel::MsgResult::No;
        case QMessageBox::Cancel:
            return reel::MsgResult::Cancel;
        case QMessageBox::Retry:
            return reel::MsgResult::Retry;
        case QMessageBox::Ok:
            return reel::MsgResult::Ok;
        default:
            break;
    }
    // Closed by Escape or the close box: the safe answer of each kind.
    switch (asked) {
        case reel::MsgButtons::YesNo:
            return reel::MsgResult::No;
        case reel::MsgButtons::OkCancel:
        case reel::MsgButtons::RetryCancel:
            return reel::MsgResult::Cancel;
        case reel::MsgButtons::Ok:
            break;
    }
    return reel::MsgResult::Ok;
}

}  // namespace

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
    delete helpViewer_.data();
}

QWidget* QtPlatform::prepareModal() {
    if (!session_) return QApplication::activeWindow();
    session_->syncAll();
    session_->noteModal();
    return session_->dialogParent();
}

reel::MsgResult QtPlatform::messageBox(std::string_view text, reel::MsgIcon icon,
                                       reel::MsgButtons buttons, std::string_view caption) {
    QWidget* parent = prepareModal();
    const QString title = caption.empty() ? QString::fromLatin1(kProgramTitle) : fromUtf8(caption);
    QMessageBox box(toQtIcon(icon), title, boxText(text), toQtButtons(buttons), parent);
    box.setObjectName(QStringLiteral("msgBox"));
    box.setTextFormat(Qt::PlainText);
    if (buttons == reel::MsgButtons::YesNo) box.setDefaultButton(QMessageBox::Yes);
    return fromQtButton(box.exec(), buttons);
}

std::string QtPlatform::inputBox(std::string_view prompt, std::string_view title,
                                 std::string_view defaultText) {
    QWidget* parent = prepareModal();
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setWindowTitle(title.empty() ? QString::fromLatin1(kProgramTitle) : fromUtf8(title));
    dialog.setLabelText(boxText(prompt));
    dialog.setTextValue(fromUtf8(defaultText));
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) return {};  // Cancel gives the empty text
    return dialog.textValue().toStdString();
}

void QtPlatform::beep() {
    QApplication::beep();
}

void QtPlatform::showHelp(int topic) {
    if (session_) session_->syncAll();
    if (!helpViewer_) {
        helpViewer_ = new HelpViewer;
        const QString programDir = QCoreApplication::applicationDirPath();
        const auto path = HelpFile::locate(programDir);
        helpViewer_->setHelpFile(path ? *path : QDir(programDir).filePath(HelpFile::kFileName));
    }
    helpViewer_->showTopic(topic);
    helpViewer_->show();
    helpViewer_->raise();
    helpViewer_->activateWindow();
}

std::optional<reel::ColourValue> QtPlatform::chooseColour(reel::ColourValue initial) {
    QWidget* parent = prepareModal();
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

bool QtPlatform::setupPrinter() {
    QWidget* parent = prepareModal();
    return printerChoice().runSetupDialog(parent);
}

std::unique_ptr<reel::PrintDevice> QtPlatform::openPrinter(std::string_view jobName) {
    lastError_.clear();
    auto device = printerChoice().open(jobName, QDir::currentPath(), &lastError_);
    if (!device && lastError_.empty()) lastError_ = "No printer could be opened.";
    return device;
}

bool isRemovableMountPoint(const std::string& rootPath) {
    for (const char* prefix : {"/media/", "/run/media/", "/mnt/"})
        if (rootPath.rfind(prefix, 0) == 0) return true;
    return rootPath == "/mnt";
}

std::vector<reel::Volume> QtPlatform::removableVolumes() {
    std::vector<reel::Volume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady()) continue;
        const std::string root = storage.rootPath().toStdString();
        if (!isRemovableMountPoint(root)) continue;
        QString label = storage.displayName();
        if (label.isEmpty() || label == storage.rootPath())
            label = storage.rootPath();
        else
            label += QStringLiteral(" (") + storage.rootPath() + QLatin1Char(')');
        volumes.push_back({label.toStdString(), root});
    }
    return volumes;
}

std::optional<std::string> QtPlatform::chooseFolder(std::string_view startDir) {
    QWidget* parent = prepareModal();
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("Choose Folder"), fromUtf8(startDir));
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

std::optional<std::string> QtPlatform::chooseFile(FileChoice kind, std::string_view title,
                                                  std::string_view startPath,
                                                  std::string_view filter) {
    QWidget* parent = prepareModal();
    const QString path =
        kind == FileChoice::Open
            ? QFileDialog::getOpenFileName(parent, fromUtf8(title), fromUtf8(startPath),
                                           fromUtf8(filter))
            : QFileDialog::getSaveFileName(parent, fromUtf8(title), fromUtf8(startPath),
                                           fromUtf8(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::chrono::system_clock::time_point QtPlatform::now() {
    return std::chrono::system_clock::now();
}

void QtPlatform::refresh() {
    if (session_) session_->syncAll();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::quit() {
    quitRequested_ = true;
    // The event loop ends once the running handler has returned.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

std::string QtPlatform::programDirectory() {
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace reelqt
