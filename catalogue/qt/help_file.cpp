#include "qt/help_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/program_folders.h"

namespace reelqt {

bool HelpFile::load(const QString& path) {
    path_ = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("The help file %1 could not be opened: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        topics_.clear();
        return false;
    }
    return parse(QString::fromUtf8(file.readAll()));
}

bool HelpFile::parse(const QString& html) {
    topics_.clear();
    static const QRegularExpression section(
        QString::fromLatin1(R"re(<section\s+id\s*=\s*"(\d+)"[^>]*>(.*?)</section\s*>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression heading(
        QString::fromLatin1(R"re(<h[12][^>]*>(.*?)</h[12]\s*>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));

    for (auto it = section.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        HelpTopic topic;
        topic.id = m.captured(1).toInt();
        topic.html = m.captured(2).trimmed();
        if (const auto h = heading.match(topic.html); h.hasMatch())
            topic.title = QString(h.captured(1)).remove(tag).simplified();
        topics_.insert_or_assign(topic.id, std::move(topic));
    }
    if (topics_.empty()) {
        error_ = QStringLiteral("The help file holds no topics.");
        return false;
    }
    error_.clear();
    return true;
}

const HelpTopic* HelpFile::topic(int id) const {
    auto it = topics_.find(id);
    return it == topics_.end() ? nullptr : &it->second;
}

std::optional<QString> HelpFile::locate(const QString& programDir) {
    const QDir dir(programDir);
    for (const QString& candidate :
         {dir.filePath(QLatin1String(kFileName)),
          QDir(QString::fromStdString(reel::sharedDataFolder(programDir.toStdString())))
              .filePath(QLatin1String(kFileName))}) {
        if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
    }
    return std::nullopt;
}

}  // namespace reelqt
