#pragma once
// Forms as data.
//
// Every window of the catalogue is a Form: a named set of Controls holding what
// the user sees (text, visibility, enabled state, colours, list items, the
// checked state of option buttons) plus the name of the control with the focus.
// Handlers are plain functions registered per control and event; they change the
// controls and call the Platform port. The Qt layer copies a form onto its
// widgets after every handler (and before every modal box) and forwards widget
// events back through dispatch(). Nothing here knows about Qt, so the whole
// behaviour is testable headless.
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
    Change,      // text box text changed by the user (the form already holds the new text)
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
    virtual ~Form() = default;
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

    // Focus: the name of the focused control. setFocus() also raises a request
    // the Qt layer honours once and clears.
    const std::string& focus() const { return focus_; }
    void setFocus(std::string_view control);
    void noteFocus(std::string_view control) { focus_ = std::string(control); }  // from the toolkit
    bool takeFocusRequest();

    // Handlers. dispatch() runs the handler for the event, if any, and says
    // whether one ran. Load runs once, from show(), the first time.
    void on(std::string_view control, EventKind kind, Handler handler);
    bool dispatch(const Event& event);
    bool click(std::string_view control);  // shorthand for tests and menus

    void show();
    void hide() { visible = false; }
    bool loaded() const { return loaded_; }

    // Help context of the focused control, else the form's.
    int currentHelpContext() const;

    static std::string arrayName(std::string_view base, int index);

private:
    std::string name_;
    std::map<std::string, Control, std::less<>> controls_;
    std::vector<std::string> order_;
    std::map<std::pair<std::string, EventKind>, Handler> handlers_;
    std::string focus_;
    bool focusRequested_ = false;
    bool loaded_ = false;
};

}  // namespace reel
