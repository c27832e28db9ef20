// The forms' event sequence: focus moves made by handlers fire LostFocus and
// GotFocus once the handler has returned, a mouse press into a box gives
// GotFocus before MouseDown, posted events wait their turn, and a focus
// ping-pong stops.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/form.h"

namespace reel {
namespace {

std::string kindName(EventKind kind) {
    switch (kind) {
        case EventKind::Click:
            return "Click";
        case EventKind::GotFocus:
            return "GotFocus";
        case EventKind::LostFocus:
            return "LostFocus";
        case EventKind::MouseDown:
            return "MouseDown";
        default:
            return "other";
    }
}

// Logs every focus, mouse and click event as "control Kind", with the
// control that has the focus while it runs after a slash; a test adds what
// its handlers do besides.
class LoggingForm : public Form {
  public:
    explicit LoggingForm(std::string name = "frmLog") : Form(std::move(name)) {
        for (const char* name : {"txtA", "txtB", "txtC"}) add(name, ControlKind::TextBox);
        add("cmdSave", ControlKind::Button);
        add("lblNote", ControlKind::Label);
        for (const std::string& control : controlNames())
            for (EventKind kind : {EventKind::Click, EventKind::GotFocus, EventKind::LostFocus,
                                   EventKind::MouseDown})
                on(control, kind, [this](const Event& e) {
                    log.push_back(e.control + " " + kindName(e.kind) + "/" + focus());
                    if (const auto it = then.find(e.control + " " + kindName(e.kind));
                        it != then.end())
                        it->second();
                });
    }
    std::vector<std::string> log;
    std::map<std::string, std::function<void()>> then;
};

TEST(EventSequence, HandlerFocusMovesFireTheirEventsAfterTheHandlerReturns) {
    LoggingForm form;
    form.noteFocus("txtA");
    form.then["txtA Click"] = [&] {
        form.setFocus("txtC");  // an earlier request in the same handler gives way to the last
        form.setFocus("txtB");
        form.log.push_back("handler done");
    };
    form.then["txtB GotFocus"] = [&] { form.setFocus("cmdSave"); };
    form.click("txtA");
    EXPECT_EQ(form.log, (std::vector<std::string>{
                            "txtA Click/txtA", "handler done",
                            // while LostFocus runs, the focus is already on its way
                            "txtA LostFocus/txtB", "txtB GotFocus/txtB",
                            "txtB LostFocus/cmdSave", "cmdSave GotFocus/cmdSave"}));
    EXPECT_EQ(form.focus(), "cmdSave");
    EXPECT_TRUE(form.takeFocusRequest());

    // No events for a move to where the focus is, to a hidden or disabled
    // control, or to a control that does not take the focus.
    form.log.clear();
    form["txtA"].visible = false;
    form["txtB"].enabled = false;
    for (const char* target : {"cmdSave", "txtA", "txtB", "lblNote", "nothing"})
        form.setFocus(target);
    EXPECT_TRUE(form.log.empty()) << form.log.front();
    EXPECT_EQ(form.focus(), "cmdSave");
}

TEST(EventSequence, MousePressIntoABoxGivesGotFocusThenMouseDownThenClick) {
    LoggingForm form;
    form.noteFocus("txtA");
    // Entering txtB warns (a modal box would wait here) and sends the focus on.
    form.then["txtB GotFocus"] = [&] {
        form.log.push_back("warning shown");
        form.setFocus("cmdSave");
    };
    Event press{"txtB", EventKind::MouseDown};
    press.button = 1;
    form.userMouseDown(press);
    form.userMouseUp("txtB");
    EXPECT_EQ(form.log, (std::vector<std::string>{
                            "txtA LostFocus/txtB", "txtB GotFocus/txtB", "warning shown",
                            "txtB MouseDown/txtB", "txtB LostFocus/cmdSave",
                            "cmdSave GotFocus/cmdSave", "txtB Click/cmdSave"}));

    // A press on the control that has the focus, or on a label, moves nothing.
    form.log.clear();
    form.userMouseDown(Event{"cmdSave", EventKind::MouseDown});
    form.userMouseDown(Event{"lblNote", EventKind::MouseDown});
    EXPECT_EQ(form.log, (std::vector<std::string>{"cmdSave MouseDown/cmdSave",
                                                  "lblNote MouseDown/cmdSave"}));
}

TEST(EventSequence, PostedEventRunsAfterTheMovesRequestedBeforeIt) {
    // A menu command that saves: the focus goes to Save first, so the box
    // left finishes its work before the Click.
    LoggingForm form;
    form.noteFocus("txtA");
    form.then["txtA LostFocus"] = [&] { form["lblNote"].text = "left txtA"; };
    form.then["cmdSave Click"] = [&] { form.log.push_back("saved: " + form["lblNote"].text); };
    form.then["lblNote Click"] = [&] {
        form.setFocus("cmdSave");
        form.post(Event{"cmdSave", EventKind::Click});
    };
    form.click("lblNote");
    EXPECT_EQ(form.log,
              (std::vector<std::string>{"lblNote Click/txtA", "txtA LostFocus/cmdSave",
                                        "cmdSave GotFocus/cmdSave", "cmdSave Click/cmdSave",
                                        "saved: left txtA"}));

    // A button chosen by its access key takes the focus, then clicks.
    form.log.clear();
    form.noteFocus("txtC");
    form.userChoose("cmdSave");
    EXPECT_EQ(form.log, (std::vector<std::string>{"txtC LostFocus/cmdSave",
                                                  "cmdSave GotFocus/cmdSave",
                                                  "cmdSave Click/cmdSave", "saved: left txtA"}));
}

TEST(EventSequence, FocusPingPongStopsAtTheLoopGuard) {
    LoggingForm form;
    form.noteFocus("cmdSave");
    form.then["txtA GotFocus"] = [&] { form.setFocus("txtB"); };
    form.then["txtB GotFocus"] = [&] { form.setFocus("txtA"); };
    form.userFocus("txtA");
    // The user's own move plus MaxQueuedSteps moves by the handlers.
    int entered = 0;
    for (const std::string& line : form.log)
        if (line.find("GotFocus") != std::string::npos) ++entered;
    EXPECT_EQ(entered, 1 + Form::MaxQueuedSteps);
    // The next user action starts with a full allowance and nothing left over.
    form.then.clear();
    form.log.clear();
    form.userFocus("txtC");
    EXPECT_EQ(form.log.size(), 2u);
    EXPECT_EQ(form.focus(), "txtC");
}

// A guard turns the user's Tab away from a box: the focus goes to Save, the
// next Tab counts from the box. Only as long as nothing else moves the focus.
TEST(EventSequence, TabPlaceHoldsWhileTheFocusStaysWhereTheMovePutIt) {
    LoggingForm form;
    form.noteFocus("txtA");
    form.then["txtB GotFocus"] = [&] { form.setFocus("cmdSave", form.focus()); };
    // The click after a press asks for Save again, from Save: the place stays.
    form.then["txtB Click"] = [&] { form.setFocus("cmdSave", form.focus()); };
    form.then["lblNote Click"] = [&] { form.setFocus("txtC"); };
    form.userFocus("txtB");
    EXPECT_EQ(form.focus(), "cmdSave");
    EXPECT_EQ(form.tabPlace(), "txtB");
    form.click("txtB");
    EXPECT_EQ(form.tabPlace(), "txtB");

    const std::pair<const char*, std::function<void()>> forgetting[] = {
        {"the user's Tab", [&] { form.userFocus("txtC"); }},
        {"a press on the focused control", [&] { form.userMouseDown({"cmdSave"}); }},
        {"an access key of the focused button", [&] { form.userChoose("cmdSave"); }},
        {"a handler's move", [&] { form.click("lblNote"); }},
        {"the toolkit's own move", [&] { form.noteFocus("txtC"); }},
    };
    for (const auto& [what, action] : forgetting) {
        form.noteFocus("txtA");
        form.userFocus("txtB");
        ASSERT_EQ(form.tabPlace(), "txtB") << what;
        action();
        EXPECT_EQ(form.tabPlace(), "") << what;
    }

    // A move whose GotFocus sends the focus on leaves no place behind.
    form.noteFocus("txtA");
    form.then["txtC GotFocus"] = [&] { form.setFocus("txtA"); };
    form.then["lblNote Click"] = [&] { form.setFocus("txtC", "txtB"); };
    form.click("lblNote");
    EXPECT_EQ(form.focus(), "txtA");
    EXPECT_EQ(form.tabPlace(), "");
}

TEST(EventSequence, AHandlerFocusingAnotherWindowGivesThatWindowItsEventsAfterwards) {
    LoggingForm main("frmMain"), other("frmOther");
    other.noteFocus("txtA");
    main.then["cmdSave Click"] = [&] {
        other.setFocus("txtB");
        main.log.push_back("main handler done");
        EXPECT_TRUE(other.log.empty());
    };
    main.click("cmdSave");
    EXPECT_EQ(main.log.back(), "main handler done");
    EXPECT_EQ(other.log,
              (std::vector<std::string>{"txtA LostFocus/txtB", "txtB GotFocus/txtB"}));
}

}  // namespace
}  // namespace reel
