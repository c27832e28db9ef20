#include "qt/help_viewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace reelqt {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelpViewer"));
    setWindowTitle(QStringLiteral("Reelvane Help"));
    resize(640, 520);

    contentsButton_ = new QPushButton(QStringLiteral("&Contents"), this);
    contentsButton_->setObjectName(QStringLiteral("cmdHelpContents"));
    backButton_ = new QPushButton(QStringLiteral("&Back"), this);
    backButton_->setObjectName(QStringLiteral("cmdHelpBack"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelpTopic"));
    browser_->setAccessibleName(QStringLiteral("Help topic"));
    browser_->setOpenLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton_);
    buttons->addWidget(backButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(contentsButton_, &QPushButton::clicked, this, [this] { showTopic(0); });
    connect(backButton_, &QPushButton::clicked, this, &HelpViewer::back);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        bool ok = false;
        const int id = url.fragment().toInt(&ok);
        if (url.scheme().isEmpty() && url.path().isEmpty() && ok) showTopic(id);
    });
    backButton_->setEnabled(false);
}

void HelpViewer::setHelpFile(const QString& path) {
    loaded_ = file_.load(path);
    history_.clear();
    current_ = -1;
    backButton_->setEnabled(false);
}

void HelpViewer::showTopic(int id) {
    QString note;
    if (loaded_ && id != 0 && !file_.topic(id)) {
        note =
            QStringLiteral("<p><i>There is no help topic number %1; here are the contents.</i></p>")
                .arg(id);
        id = 0;
    }
    if (current_ >= 0 && current_ != id) history_.push_back(current_);
    display(id, note);
}

void HelpViewer::back() {
    if (history_.empty()) return;
    const int id = history_.back();
    history_.pop_back();
    display(id, QString());
}

void HelpViewer::display(int id, const QString& note) {
    current_ = id;
    backButton_->setEnabled(!history_.empty());
    if (!loaded_) {
        setWindowTitle(QStringLiteral("Reelvane Help"));
        browser_->setHtml(QStringLiteral("<h2>Help is not available</h2><p>%1</p>")
                              .arg(file_.error().toHtmlEscaped()));
        return;
    }
    const HelpTopic* topic = file_.topic(id);
    if (!topic) {
        // A file without contents: list its topics instead.
        QString list = QStringLiteral("<h1>Contents</h1><ul>");
        for (const auto& [number, t] : file_.topics())
            list += QStringLiteral("<li><a href=\"#%1\">%2</a></li>").arg(number).arg(t.title);
        browser_->setHtml(note + list + QStringLiteral("</ul>"));
        setWindowTitle(QStringLiteral("Reelvane Help"));
        return;
    }
    browser_->setHtml(note + topic->html);
    setWindowTitle(QStringLiteral("Reelvane Help - ") + topic->title);
}

}  // namespace reelqt
