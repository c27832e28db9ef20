#include "qt/session.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <exception>

#include "platform/platform.h"
#include "qt/accessibility.h"
#include "qt/form_binding.h"

namespace reelqt {

Session::Session(reel::Platform& platform) : platform_(platform) {}

// Bindings watch their windows, so they go first.
Session::~Session() {
    bindings_.clear();
    windows_.clear();
}

FormBinding& Session::bind(reel::Form& form, std::unique_ptr<QWidget> window) {
    QWidget* root = window.get();
    mirrorTestIds(root);
    windows_.push_back(std::move(window));
    bindings_.push_back(std::make_unique<FormBinding>(form, root, *this));
    bindings_.back()->sync();
    return *bindings_.back();
}

FormBinding* Session::binding(const std::string& formName) const {
    for (const auto& b : bindings_)
        if (b->form().name() == formName) return b.get();
    return nullptr;
}

bool Session::dispatch(reel::Form& form, const reel::Event& event) {
    return run([&form, &event] { return form.dispatch(event); });
}

bool Session::run(const std::function<bool()>& action) {
    if (quiet()) return false;
    bool ran = false;
    try {
        ran = action();
    } catch (const std::exception& error) {
        // A fault in a handler must not take the whole program (and the
        // user's unsaved screen) down with it; say what happened instead.
        syncAll();
        QMessageBox::critical(dialogParent(), QStringLiteral("Dovelmark 1"),
                              QStringLiteral("The program met an internal error:\n%1")
                                  .arg(QString::fromStdString(error.what())));
    }
    syncAll();
    scheduleFocus();
    checkFinished();
    return ran;
}

void Session::syncAll() {
    if (syncing_) return;
    syncing_ = true;
    for (auto& b : bindings_) b->sync();
    syncing_ = false;
}

void Session::scheduleFocus() {
    // Applied once the current Qt event (a key, a click, a focus change) has
    // been delivered in full: Qt may still move its focus while finishing it.
    bool any = false;
    for (auto& b : bindings_) {
        reel::Form& form = b->form();
        if (!form.visible || !form.focusRequested()) continue;
        // The user's own moves usually leave the focus where Qt put it.
        if (QWidget* w = b->widget(form.focus()); w && w->hasFocus())
            form.takeFocusRequest();
        else
            any = true;
    }
    if (!any || focusPending_) return;
    focusPending_ = true;
    QMetaObject::invokeMethod(this, &Session::applyFocusRequests, Qt::QueuedConnection);
}

void Session::applyFocusRequests() {
    focusPending_ = false;
    focusing_ = true;
    for (auto& b : bindings_)
        if (b->form().takeFocusRequest() && b->form().visible) b->applyFocus();
    focusing_ = false;
}

void Session::noteModal() {
    ++modalEpoch_;
}

QWidget* Session::dialogParent() const {
    QWidget* active = QApplication::activeWindow();
    for (const auto& w : windows_)
        if (w.get() == active && w->isVisible()) return active;
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if ((*it)->isVisible()) return it->get();
    return nullptr;
}

void Session::showHelp(int topic) {
    syncAll();
    platform_.showHelp(topic);
}

void Session::noteWindowClosed() {
    if (finishedEmitted_) return;
    for (const auto& b : bindings_)
        if (b->form().visible) return;
    // The user closed the last window without a handler to ask a question:
    // there is nothing left to work with, so the run is over.
    finishedEmitted_ = true;
    emit finished();
}

void Session::checkFinished() {
    if (finishedEmitted_ || !finishedCheck_ || !finishedCheck_()) return;
    finishedEmitted_ = true;
    emit finished();
}

}  // namespace reelqt
