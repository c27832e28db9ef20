#include "platform/form.h"

#include <stdexcept>

namespace reel {

Form::Form(std::string name) : name_(std::move(name)) {}

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
    focus_ = std::string(control);
    focusRequested_ = true;
}

bool Form::takeFocusRequest() {
    bool requested = focusRequested_;
    focusRequested_ = false;
    return requested;
}

void Form::on(std::string_view control, EventKind kind, Handler handler) {
    handlers_[{std::string(control), kind}] = std::move(handler);
}

bool Form::dispatch(const Event& event) {
    auto it = handlers_.find({event.control, event.kind});
    if (it == handlers_.end()) return false;
    // Copy: a handler may replace handlers while it runs.
    Handler handler = it->second;
    handler(event);
    return true;
}

bool Form::click(std::string_view control) {
    return dispatch(Event{std::string(control), EventKind::Click});
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
