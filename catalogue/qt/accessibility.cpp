#include "qt/accessibility.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "qt/menu_item_accessible.h"

namespace reelqt {
namespace {

void mirrorObjectName(QWidget* w) {
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) return;
    if (w->accessibleDescription().isEmpty()) w->setAccessibleDescription(name);
}

// Gives every widget its object name as description when it is polished,
// which happens once for every widget before it is first shown.
class TestIdMirror : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Polish || event->type() == QEvent::Show) {
            if (auto* w = qobject_cast<QWidget*>(watched)) mirrorObjectName(w);
        }
        return false;
    }
};

}  // namespace

QString spokenText(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar ch = caption.at(i);
        if (ch == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                out += ch;
                ++i;
            }
            continue;
        }
        out += ch;
    }
    return out.simplified();
}

bool testIdsRequested() {
    return qEnvironmentVariable("REELBOOK_TEST_IDS") == QLatin1String("1");
}

void mirrorTestIds(QWidget* root) {
    if (!testIdsRequested() || !root) return;
    mirrorObjectName(root);
    for (QWidget* w : root->findChildren<QWidget*>()) mirrorObjectName(w);
}

void installTestIds(QApplication& app) {
    if (!testIdsRequested()) return;
    static QApplication* installedOn = nullptr;
    if (installedOn == &app) return;
    installedOn = &app;
    installMenuItemAccessibility();
    app.installEventFilter(new TestIdMirror(&app));
    for (QWidget* w : QApplication::allWidgets()) mirrorObjectName(w);
}

}  // namespace reelqt
