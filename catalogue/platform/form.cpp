#include "platform/form.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <utility>

namespace reel {

// The queue of the event sequence (see form.h): the steps handlers have
// queued (focus moves, posted events) and how many handlers are running.
// Steps are carried out in order once the outermost handler of a user
// action has returned, at most Form::MaxQueuedSteps of them per action.
class EventQueue {
  public:
    struct Step {
        Form* form = nullptr;
        bool programMove = false;  // carry out the form's requested focus move
        std::string moveTo;        // else, when not empty: a move to this control
        Event event;               // else: this event
    };

    static bool running() { return state().depth > 0; }

    static void push(Step step) { state().steps.push_back(std::move(step)); }

    // Runs `action` as one user action: it, then the queue it leaves.
    template <typename Action>
    static auto userAction(Action&& action) {
        State& s = state();
        if (s.depth > 0 || s.draining) return action();  // part of an action under way
        s.draining = true;
        s.budget = Form::MaxQueuedSteps;
        try {
            auto result = action();
            drain();
            s.draining = false;
            return result;
        } catch (...) {
            // The rest of a failed action is dropped, not left for the next one.
            clear();
            s.draining = false;
            throw;
        }
    }

    // Counts a running handler for as long as it lives.
    class Running {
      public:
        Running() { ++state().depth; }
        ~Running() { --state().depth; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    };

    static void forget(Form* form) {
        auto& steps = state().steps;
        steps.erase(std::remove_if(steps.begin(), steps.end(),
                                   [form](const Step& step) { return step.form == form; }),
                    steps.end());
    }

  private:
    struct State {
        int depth = 0;
        bool draining = false;
        int budget = 0;
        std::deque<Step> steps;
    };
    static State& state() {
        thread_local State s;
        return s;
    }

    static void drain() {
        State& s = state();
        while (!s.steps.empty()) {
            Step step = std::move(s.steps.front());
            s.steps.pop_front();
            std::string target = std::move(step.moveTo);
            std::string tabPlace;
            if (step.programMove) {
                step.form->moveQueued_ = false;
                target = std::exchange(step.form->requestedFocus_, std::string());
                tabPlace = std::exchange(step.form->requestedTabPlace_, std::string());
            }
            if (s.budget <= 0) continue;  // the loop guard: dropped
            --s.budget;
            if (step.programMove || !target.empty()) {
                Form& form = *step.form;
                form.moveFocus(target);
                // Only once the focus has arrived: GotFocus may have sent it on.
                if (!tabPlace.empty() && tabPlace != target && form.focus_ == target)
                    form.tabPlace_ = std::move(tabPlace);
            } else {
                step.form->invoke(step.event);
            }
        }
    }

    static void clear() {
        for (Step& step : state().steps)
            if (step.programMove) {
                step.form->moveQueued_ = false;
                step.form->requestedFocus_.clear();
                step.form->requestedTabPlace_.clear();
            }
        state().steps.clear();
    }
};

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    EventQueue::forget(this);
}

Control& Form::add(std::string name, ControlKind kind, std::string text) {
    auto [it, inserted] = controls_.try_emplace(name);
    if (!inserted) throw std::logic_error("control added twice: " + name);
    it->second.name = name;
    it->second.kind = kind;
    it->second.text = std::move(text);
    order_.push_back(std::move(name));
    return it->second;
}

Control* Form::find(std::string_view name) {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

const Control* Form::find(std::string_view name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

Control& Form::operator[](std::string_view name) {
    if (Control* c = find(name)) return *c;
    throw std::logic_error(name_ + " has no control " + std::string(name));
}

const Control& Form::operator[](std::string_view name) const {
    if (const Control* c = find(name)) return *c;
    throw std::logic_error(name_ + " has no control " + std::string(name));
}

void Form::setFocus(std::string_view control) {
    setFocus(control, {});
}

void Form::setFocus(std::string_view control, std::string_view tabPlace) {
    requestedFocus_ = std::string(control);
    requestedTabPlace_ = std::string(tabPlace);
    if (!moveQueued_) {
        moveQueued_ = true;
        EventQueue::push({this, true, {}, {}});
    }
    // Outside any handler there is nothing to wait for.
    if (!EventQueue::running()) EventQueue::userAction([] { return true; });
}

bool Form::takesFocus(std::string_view control) const {
    const Control* c = find(control);
    if (!c || !c->visible || !c->enabled) return false;
    switch (c->kind) {
        case ControlKind::TextBox:
        case ControlKind::Button:
        case ControlKind::OptionButton:
        case ControlKind::ListBox:
        case ControlKind::DriveList:
        case ControlKind::DirList:
        case ControlKind::FileList:
            return true;
        default:
            return false;
    }
}

void Form::noteFocus(std::string_view control) {
    if (control == focus_) return;
    focus_ = std::string(control);
    tabPlace_.clear();
}

void Form::moveFocus(const std::string& target) {
    if (target == focus_ || !takesFocus(target)) return;
    const std::string left = std::exchange(focus_, target);
    tabPlace_.clear();
    focusRequested_ = true;
    if (!left.empty()) invoke(Event{left, EventKind::LostFocus});
    invoke(Event{target, EventKind::GotFocus});
}

bool Form::takeFocusRequest() {
    bool requested = focusRequested_;
    focusRequested_ = false;
    return requested;
}

void Form::on(std::string_view control, EventKind kind, Handler handler) {
    handlers_[{std::string(control), kind}] = std::move(handler);
}

bool Form::invoke(const Event& event) {
    auto it = handlers_.find({event.control, event.kind});
    if (it == handlers_.end()) return false;
    // Copy: a handler may replace handlers while it runs.
    Handler handler = it->second;
    EventQueue::Running running;
    handler(event);
    return true;
}

bool Form::dispatch(const Event& event) {
    return EventQueue::userAction([&] { return invoke(event); });
}

bool Form::click(std::string_view control) {
    return dispatch(Event{std::string(control), EventKind::Click});
}

void Form::userFocus(std::string_view control) {
    EventQueue::userAction([&] {
        moveFocus(std::string(control));
        return true;
    });
}

void Form::userMouseDown(Event event) {
    event.kind = EventKind::MouseDown;
    tabPlace_.clear();  // the user has put the pointer where the work goes on
    EventQueue::userAction([&] {
        // The press moves the focus first; what GotFocus asks for waits behind
        // the MouseDown.
        if (event.control != focus_ && takesFocus(event.control))
            EventQueue::push({this, false, event.control, {}});
        EventQueue::push({this, false, {}, event});
        return true;
    });
}

void Form::userMouseUp(std::string_view control) {
    dispatch(Event{std::string(control), EventKind::Click});
}

void Form::userChoose(std::string_view control) {
    tabPlace_.clear();
    EventQueue::userAction([&] {
        moveFocus(std::string(control));
        EventQueue::push({this, false, {}, Event{std::string(control), EventKind::Click}});
        return true;
    });
}

void Form::post(Event event) {
    EventQueue::push({this, false, {}, std::move(event)});
    if (!EventQueue::running()) EventQueue::userAction([] { return true; });
}

void Form::show() {
    visible = true;
    if (!loaded_) {
        loaded_ = true;
        dispatch(Event{"", EventKind::Load});
    }
}

int Form::currentHelpContext() const {
    if (const Control* c = find(focus_); c && c->helpContext != 0) return c->helpContext;
    return helpContext;
}

std::string Form::arrayName(std::string_view base, int index) {
    return std::string(base) + "_" + std::to_string(index);
}

}  // namespace reel
