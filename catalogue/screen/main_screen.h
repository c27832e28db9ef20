#pragma once
// MainScreen: the catalogue's main window "frmtavlen3".
//
// It shows one film at a time in labelled text boxes spread over two pages,
// carries every menu of the catalogue and the buttons that move through, add,
// edit, save and delete records. The index views, searches, list views,
// reports, preferences and exchange plug in through the seams of
// screen_seams.h and see the screen only as a ScreenContext
// (screen_context.h). Its state stays public for the screen's own tests and
// the start-up windows.
//
// Handlers are member functions named after the control and the event. They
// are split over files by concern: main_screen_controls.cpp (the controls),
// main_screen_events.cpp (which handler serves which event), startup.cpp,
// show_record.cpp, navigation.cpp, editing.cpp, browsing_guard.cpp,
// pickers.cpp, help.cpp and exit.cpp.
//
// Contract with the toolkit layer: after every handler (and before every
// modal box) the form is copied onto the widgets, so what a handler leaves in
// the controls mid-way is what the user sees behind a message box. Picker
// lists report a selection moved by arrows or mouse as Click with `item`, a
// key as KeyDown/KeyPress and a mouse press as MouseDown with `item`.
// Text boxes: `maxLength` is the field width while a record is entered or
// edited (so the user sees what will be kept), 0 while browsing and always 0
// on the six picker boxes, which hold whole words ("Laser", "Wide Screen").
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/master_file.h"
#include "platform/form.h"
#include "screen/app_context.h"
#include "screen/screen_context.h"
#include "screen/screen_seams.h"
#include "screen/screen_state.h"

namespace reel {

// Message-box captions and prompts the main screen shows in several places.
inline constexpr const char* NewPrompt = "To write a new record click \"New\" button.";
inline constexpr const char* NewPromptAltW = "To Write A New Record Click New or press Alt W ";
inline constexpr const char* SaveWhenFinished = "Save Work When Finished!";

class MainScreen : public Form, public ScreenContext {
  public:
    explicit MainScreen(AppContext& app);
    ~MainScreen() override;

    ScreenState state;
    MasterFile master;

    AppContext& app() { return app_; }
    Platform& platform() override { return app_.platform; }

    // --- ScreenContext (screen_context.cpp) -------------------------------------
    const std::string& directory() const override { return app_.directory; }
    MasterFile& masterFile() override { return master; }
    void endProgram() override { app_.endProgram(); }
    bool programEnded() const override { return app_.finished; }
    IndexFeatures& indexes() override { return *index_; }
    const FilmRecord& record() const override { return state.record; }
    void setRecord(const FilmRecord& record) override { state.record = record; }
    std::int32_t currentRecord() const override { return state.CurrentRecord; }
    void setCurrentRecord(std::int32_t n) override { state.CurrentRecord = n; }
    std::int32_t lastRecord() const override { return state.LastRecord; }
    std::int32_t recordCount() const override { return state.RecordCount; }
    void setRecordBounds(std::int32_t recordCount, std::int32_t lastRecord) override;
    void showRecord() override { ShowRecord(); }
    bool entering() const override { return state.EntryMode; }
    void stopEntering() override { state.EntryMode = false; }
    ViewCursor& cursor() override { return state.cursor; }
    void setHeadShown(Heading heading) override { state.HeadShown = heading; }
    std::array<std::string, 4>& countText() override { return state.CountText; }
    int& pageNumber() override { return state.PageNumber; }
    Control& control(Lent which) override;
    Control& listCell(std::string_view column, int row) override;
    const std::string& shownText(std::string_view box) const override { return (*this)[box].text; }
    void focusTitle() override { setFocus("txtTitle"); }
    std::optional<ColourValue> labelColour() const override;

    // Plug-in modules (see screen_seams.h). Until one is installed, its menu
    // items and buttons do nothing.
    void install(std::unique_ptr<IndexFeatures> features);
    void install(std::unique_ptr<ReportFeatures> features);
    void install(std::unique_ptr<PreferenceFeatures> features);
    void install(std::unique_ptr<ExchangeFeatures> features);

    // --- Routines the other modules call ------------------------------------
    // Fills the boxes, caption and heading from the record buffer.
    void ShowRecord();
    // Back to record 1, every view and search closed (asks about unsaved work).
    void reset() override;
    // Reads record n into the buffer (a number beyond the end gives an empty record).
    void readRecord(std::int32_t n) override;
    // Copies the boxes into the buffer and writes it at CurrentRecord. On
    // failure the user has been told and nothing claims the work was saved.
    bool StoreRecord();
    // Save as the Save button does it; false when the record could not be written.
    bool save();
    // Drops a record being entered or edited without a question.
    void abandonEntry() override;
    void showPage1();  // Return To Main Page
    void showPage2();  // Add More Data
    void applyColour(ColourGroup group, ColourValue value) override;
    // The status line: the four counts as read from the count files.
    std::string statusLine() const override;
    // Shows or hides the CAV/CLV and cassette boxes for the word in txtFormat.
    void applyFormatBoxes();

    // --- Handlers -------------------------------------------------------------
    void Form_Load();
    void Form_QueryClose(const Event& event);

    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdReset_Click();
    void cmdMatch_Click();
    void mnuFile_Click();  // Find By File No.
    void cmdNext20_Click();
    void cmdPrev20_Click();

    void cmdNew_Click();
    void cmdEdit_Click();
    void cmdSave_Click();
    void mnuSave_Click();
    void cmdDelete_Click();
    void optnoteson_Click();
    void optNotesoff_Click();

    void mnuExit_Click();
    void mnuHelp_Click();

    // Entering a box while browsing: the "Hit edit to change." warning.
    void guardedBox_GotFocus(std::string_view caption);
    void txtTitle_Click();
    void txtFormat_GotFocus();
    void txtFormat_Click();
    void txtFormat_LostFocus();
    void txtNumReel_GotFocus();
    void txtGenre_GotFocus();
    void txtGenre_Change();
    void txtCassNo_GotFocus();
    void txtCassNo_Change();
    void txtLetter_GotFocus();
    void txtLetter_Change();
    void txtCLV1_GotFocus();
    void txtCLV1_Click();
    void txtColor1_GotFocus();
    void txtColor1_Click();
    void txtColor1_LostFocus();
    void txtRating_GotFocus();
    void txtLabel_LostFocus();
    void txtTime_Click();
    void txtYear_GotFocus();
    void txtYear_Click();
    void txtMusic_LostFocus();
    void txtRatings_LostFocus();

    // Picker lists (List1 genre, List2 rating, List3 format, List4 aspect,
    // List5 CAV/CLV, List6 colour).
    enum class Picker { Genre, Rating, Format, Aspect, Clv, Colour };
    void List_Click(Picker picker, const Event& event);
    void List_KeyPress(Picker picker, const Event& event);
    void List_MouseDown(Picker picker, const Event& event);
    void List_LostFocus(Picker picker);
    // Typing into a picker's box while its list is open: the list's selection
    // is the choice.
    void pickerBox_Change(Picker picker);
    // A mouse press on a picker's box while its list is open: the same.
    void pickerBox_MouseDown(Picker picker);
    // Entering a picker's box while entering or editing opens its list.
    void enterPickerBox(Picker picker);
    // A click on a picker's box while entering opens its list (while
    // browsing, entering the box has already shown the warning), unless the
    // press of this click has just chosen from it.
    void pickerBox_Click(Picker picker);

    void openPicker(Picker picker);
    void closePicker(Picker picker);
    bool pickerOpen(Picker picker) const;

  private:
    void buildControls();
    void connectEvents();
    void connectSeamMenus();

    // Navigation helpers.
    void stepThroughMasterFile();
    void endOfFileThenReset();
    void stepBackInView();
    void afterChoice(Picker picker);
    void writeSelection(Picker picker, int index);
    void restoreAfterGenreList();
    void guidedColourAfter(Picker picker);
    void warnBrowsing(std::string_view caption);
    bool editingExisting() const { return state.EntryMode && !state.NewEntry; }
    // Whether the Click now arriving ends a press that chose from `picker`.
    bool clickEndsChoosingPress(Picker picker);
    void setTypingLimits();
    void setCaption(std::string_view text) { caption = std::string(text); }

    AppContext& app_;
    std::unique_ptr<IndexFeatures> index_;
    std::unique_ptr<ReportFeatures> reports_;
    std::unique_ptr<PreferenceFeatures> prefs_;
    std::unique_ptr<ExchangeFeatures> exchange_;
    bool indexInstalled_ = false;
    bool reportsInstalled_ = false;
    bool prefsInstalled_ = false;
    int helpBeforePicker_ = 0;
    std::optional<Picker> pressChose_;     // the list the last press on a picker box chose from
    std::optional<Picker> openedOnEntry_;  // the list the last entering of its box opened
};

}  // namespace reel
