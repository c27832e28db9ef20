#pragma once
// Session: the set of bound windows of one run, and the one road by which
// widget events reach the forms.
//
// Every user action goes through run() (dispatch() for a plain event): the
// form runs it with the event sequence of form.h, then ALL forms are copied
// onto their widgets (a handler on one window often shows, hides or fills
// another), and the focus the forms ended with is applied to the widgets once
// the Qt event that started it has been fully delivered. While sync() or a
// focus move of our own is under way, widget events are not forwarded, so
// nothing the program does to its own widgets re-enters a handler.
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"

class QWidget;

namespace reel {
class Platform;
}

namespace reelqt {

class FormBinding;

class Session : public QObject {
    Q_OBJECT
  public:
    explicit Session(reel::Platform& platform);
    ~Session() override;

    // Binds a form to its window; the session owns the window from now on.
    FormBinding& bind(reel::Form& form, std::unique_ptr<QWidget> window);
    FormBinding* binding(const std::string& formName) const;
    const std::vector<std::unique_ptr<FormBinding>>& bindings() const { return bindings_; }

    // Called after every event; when it says true the session emits finished().
    void setFinishedCheck(std::function<bool()> check) { finishedCheck_ = std::move(check); }

    // Runs one user action (a call of a form's entry point), then syncs
    // every form. Says what the action said. Exceptions from handlers are
    // shown, never let through Qt.
    bool run(const std::function<bool()>& action);
    // run() of form.dispatch(event): says whether a handler ran.
    bool dispatch(reel::Form& form, const reel::Event& event);

    void syncAll();
    // Applies the focus requests of all forms now (normally done just after
    // the event that caused them).
    void applyFocusRequests();

    // True while the program changes its own widgets: events are not forwarded.
    bool quiet() const { return syncing_ || focusing_; }
    // Focus events are also held while a handler's focus request waits to be
    // applied: the focus is on its way elsewhere.
    bool focusHeld() const { return quiet() || focusPending_; }
    // A modal box is about to open: a half-done click must not complete later.
    void noteModal();
    bool modalEpochChanged(unsigned since) const { return modalEpoch_ != since; }
    unsigned modalEpoch() const { return modalEpoch_; }

    // The window to parent dialogs on: the active bound window, else the
    // last shown visible one.
    QWidget* dialogParent() const;

    void showHelp(int topic);

    // No form window is visible any more (the user closed the last one).
    void noteWindowClosed();

  signals:
    void finished();

  private:
    void scheduleFocus();
    void checkFinished();

    reel::Platform& platform_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    std::vector<std::unique_ptr<FormBinding>> bindings_;
    std::function<bool()> finishedCheck_;
    bool syncing_ = false;
    bool focusing_ = false;
    bool focusPending_ = false;
    bool finishedEmitted_ = false;
    unsigned modalEpoch_ = 0;
};

}  // namespace reelqt
