#pragma once
// Forms as data.
//
// Every window of the catalogue is a Form: a named set of Controls holding what
// the user sees (text, visibility, enabled state, colours, list items, the
// checked state of option buttons) plus the name of the control with the focus.
// Handlers are plain functions registered per control and event; they change the
// controls and call the Platform port. The Qt layer copies a form onto its
// widgets after every handler (and before every modal box) and reports the
// user's own actions through the entry points below. Nothing here knows about
// Qt, so the whole behaviour is testable headless.
//
// The event sequence. The handlers were written for a toolkit in which every
// focus move fires events, the program's own moves included, so the forms
// deliver events in that toolkit's order:
//  1. One user action is one call of an entry point: dispatch() (a key, a
//     click, a text change), userFocus() (Tab, an access key of a caption),
//     userMouseDown() and userMouseUp() (a press and its release), userChoose()
//     (an access key or Space on a button).
//  2. setFocus() in a handler moves nothing at once. Once the running handler
//     has returned, and after whatever was queued before, the control left gets
//     LostFocus and then the control entered gets GotFocus. During LostFocus,
//     focus() already names the control being entered. Several requests made
//     before the move is carried out count as one, the last. A request for the
//     control that has the focus, for one that is hidden or disabled, or for no
//     control of the form, moves nothing.
//  3. post() queues an event the same way: it runs after the running handler
//     and after the moves requested before it.
//  4. A mouse press on a control that takes the focus (text boxes, lists,
//     buttons, option buttons) and does not have it moves the focus there
//     first: LostFocus, GotFocus, then MouseDown, then the moves GotFocus
//     requested. The release is the Click, on the control pressed, whatever
//     the handlers did in between (a modal box, the focus sent elsewhere).
//  5. The loop guard: one user action carries out at most MaxQueuedSteps
//     queued steps (focus moves and posted events together). Steps queued
//     beyond that are dropped and the focus stays where the last move left it,
//     so two handlers that send the focus back and forth stop instead of
//     hanging the program.
//  6. The tab place: a program move may name the control the user's next
//     Tab or Shift+Tab counts from (setFocus() with a place). A guard that
//     turns a Tab away from a box sends the focus elsewhere, yet the user goes
//     on through the tab order from that box. The place holds while the
//     focus stays where that move put it; any other move forgets it.
// The queue is shared by all forms (one user-interface thread, one queue), so
// a handler of one window that focuses a control of another gets that
// window's events too, after it returns. A setFocus() outside any handler
// (start-up code, a test) is carried out at once.
//
// Control arrays (the list-view cells Text1..Text3, indexes 0..19) are named
// "Text1_0" .. "Text1_19"; arrayName() builds such names.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colour.h"

namespace reel {

enum class ControlKind {
    Label,
    TextBox,
    Button,
    OptionButton,
    ListBox,
    Picture,
    Menu,      // a top-level menu or a submenu holding items
    MenuItem,  // a menu item that runs a handler
    DriveList,
    DirList,
    FileList,
    Other,
};

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Other;
    std::string text;  // caption of labels, buttons and menus; contents of text boxes (UTF-8)
    bool visible = true;
    bool enabled = true;
    bool checked = false;  // option buttons
    std::optional<ColourValue> backColour;
    std::optional<ColourValue> foreColour;
    std::vector<std::string> items;  // list boxes
    int listIndex = -1;              // selected list item, -1 for none
    int maxLength = 0;               // text boxes: 0 means no limit
    int helpContext = 0;             // F1 topic; 0 means "use the form's"
    std::string parent;              // menus: the menu this item belongs to
};

// Events the Qt layer forwards. Key codes are the classic virtual-key numbers
// (13 Enter, 27 Escape, 38 Up, 40 Down, 112 F1) so handlers read like the
// screens they implement.
enum class EventKind {
    Load,        // the form is shown for the first time
    Click,
    DblClick,
    GotFocus,
    LostFocus,
    MouseDown,
    KeyDown,     // any key, `key` holds the virtual-key code
    KeyPress,    // a character key, `key` holds its code
    Change,      // text box text changed by the user (the form already holds the new text);
                 // the program's own changes of a text never come back as Change
    QueryClose,  // the window's close box; a handler sets `cancel` to keep it open
};

namespace keys {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int F1 = 112;
}  // namespace keys

struct Event {
    std::string control;  // control name, or "" for the form itself
    EventKind kind = EventKind::Click;
    int key = 0;          // KeyDown/KeyPress
    int button = 0;       // MouseDown: 1 left, 2 right
    int item = -1;        // MouseDown/Click on a list: the item under the pointer
    bool* cancel = nullptr;  // QueryClose
};

class Form {
public:
    using Handler = std::function<void(const Event&)>;

    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    // Window properties.
    std::string caption;
    bool visible = false;
    std::optional<ColourValue> backColour;
    int helpContext = 0;

    // Controls. add() keeps creation order, which the Qt layer and tests use.
    Control& add(std::string name, ControlKind kind, std::string text = {});
    Control& operator[](std::string_view name);  // REQUIRES: the control exists
    const Control& operator[](std::string_view name) const;
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    bool has(std::string_view name) const { return find(name) != nullptr; }
    const std::vector<std::string>& controlNames() const { return order_; }

    // Focus: the name of the focused control.
    const std::string& focus() const { return focus_; }
    // The program moves the focus (see the event sequence above).
    void setFocus(std::string_view control);
    // The same, with the place the user's next Tab or Shift+Tab counts from
    // once the focus is on `control` (rule 6).
    void setFocus(std::string_view control, std::string_view tabPlace);
    // Where the next Tab or Shift+Tab counts from, when not from focus():
    // empty when from focus().
    const std::string& tabPlace() const { return tabPlace_; }
    // The toolkit moved the focus on its own (a focused control was hidden):
    // noted without events.
    void noteFocus(std::string_view control);
    // Whether the toolkit still has to put its own focus on focus(): set by
    // every focus move carried out here; takeFocusRequest() clears it.
    bool focusRequested() const { return focusRequested_; }
    bool takeFocusRequest();

    // Whether a mouse press (or an access key) gives this control the focus.
    bool takesFocus(std::string_view control) const;

    // Handlers. Load runs once, from show(), the first time.
    void on(std::string_view control, EventKind kind, Handler handler);

    // --- User actions: each runs its handlers and then the queue ------------
    // Runs the handler for the event, if any, and says whether one ran. Called
    // from inside a handler it runs that handler at once, as a plain call.
    bool dispatch(const Event& event);
    bool click(std::string_view control);  // dispatch() of a Click
    // The user moved the focus to `control` (Tab, the access key of a caption).
    void userFocus(std::string_view control);
    // The user pressed a mouse button on a control (`event` names the control,
    // the button and the list item under the pointer); its kind becomes MouseDown.
    void userMouseDown(Event event);
    // The release of a press on `control`: its Click.
    void userMouseUp(std::string_view control);
    // An access key or Space chose a button: it takes the focus, then Click.
    void userChoose(std::string_view control);

    // Queues `event` for this form behind the running handler (rule 3).
    void post(Event event);

    // The loop guard of rule 5.
    static constexpr int MaxQueuedSteps = 16;

    void show();
    void hide() { visible = false; }
    bool loaded() const { return loaded_; }

    // Help context of the focused control, else the form's.
    int currentHelpContext() const;

    static std::string arrayName(std::string_view base, int index);

private:
    friend class EventQueue;
    // Runs the handler of `event` at once, counted as a running handler.
    bool invoke(const Event& event);
    // The focus move itself: LostFocus of the control left, GotFocus of `target`.
    void moveFocus(const std::string& target);

    std::string name_;
    std::map<std::string, Control, std::less<>> controls_;
    std::vector<std::string> order_;
    std::map<std::pair<std::string, EventKind>, Handler> handlers_;
    std::string focus_;
    std::string requestedFocus_;     // the program's move waiting in the queue
    std::string requestedTabPlace_;  // ... and the tab place it leaves
    std::string tabPlace_;
    bool moveQueued_ = false;
    bool focusRequested_ = false;
    bool loaded_ = false;
};

}  // namespace reel
