// The controls of the main window "frmtavlen3", in creation order.
//
// Menu names (the toolkit layer uses exactly these object names):
//   mnuFileMenu "&File": mnuCopy, mnuSave, mnuPrint2, mnuPrintLibrary (submenu
//     "Print Library": mnuAll, mnuShort, mnuLaser, mnuVHS, mnuDVD, mnuDirector,
//     mnuStars, mnuGenre), mnuExit, mnuExportCsv, mnuImportCsv
//   mnuFindMenu "F&ind ": mnuFile, mnuFindTitle, mnuFindDirector, mnuFindStar,
//     mnuProducer, mnuCinema, mnuWriter, mnuMusic, mnuArt, mnuDance, mnuCostume,
//     mnuAwards, mnuMPAA, mnuSound, mnuFindGenre
//   mnuViewMenu "&View Files": mnuByTitle, mnuByDVD, mnuByLaser, mnuByVHS
//   mnuViewAllMenu "View &All Files": mnuAllTitles, mnualldvd, mnualllas,
//     mnuAllVHS, mnuFindAllGenre
//   mnuSortMenu "S&ort": mnuSortTitle
//   mnuPrefsMenu "Preferen&ces": mnuProgramColors (submenu "Pro&gram Colors":
//     mnuBGColors, mnuTxtBoxColor, mnutxtColor, mnuMessColor, mnudefault)
//   mnuHelp "&Help" (a menu that acts on click: help contents)
//
// Other controls: the 33 record boxes (txtTitle ... txtRatings, txtGenreList)
// with their captions, the message labels lblHead, lblsorted, lblSorting,
// lblNotes1, lblSave, lblSelect, lblNumrec, lblRetcode and Label4, the buttons
// cmdPrevious, cmdNext, cmdMatch, cmdNew, cmdEdit, cmdSave, cmdDelete,
// cmdReset, cmdPrev20, cmdNext20, the option buttons optnoteson and
// optNotesoff, the picker lists List1 ... List6 and the list-view cells
// Text1_0 ... Text1_19, Text2_0 ..., Text3_0 ....
// Colour and printer dialogs go through the platform port; the window has no
// control of its own for them.
#include <string>
#include <utility>
#include <vector>

#include "screen/main_screen.h"
#include "screen/screen_layout.h"
#include "screen/screen_seams.h"

namespace reel {

namespace {

struct BoxSpec {
    const char* box;
    const char* label;
    const char* caption;
    int help;
};

// Page 1, in tab order.
const BoxSpec Page1[] = {
    {"txtTitle", "lblTitle", "Title", 1},
    {"txtDirector", "lblDirector", "Director", 2},
    {"txtStar1", "lblStar1", "Star 1", 3},
    {"txtStar2", "lblStar2", "Star 2", 3},
    {"txtStar3", "lblStar3", "Star 3", 3},
    {"txtStar4", "lblStar4", "Star 4", 3},
    {"txtStar5", "lblStar5", "Star 5", 3},
    {"txtStar6", "lblStar6", "Star 6", 3},
    {"txtLabel", "lblLabel", "Label", 9},
    {"txtFormat", "lblFormat", "     Format            V - L- D       ", 490},
    {"txtNumReel", "lblNumReel", "   Number     discs / tapes", 10},
    {"txtGenre", "lblGenre", "  Genre      Click box  ", 11},
    {"txtGenreList", "lblGenreList1", "  Genre Listed", 12},
    {"txtTime", "lblTime", " Time (min)", 13},
    {"txtYear", "lblYear", "Year", 14},
    {"txtCassNo", "lblCassNo", "Cassette No.", 15},
    {"txtLetter", "lblLetter", "  Aspect", 500},
    {"txtCLV1", "lblCLV", "  CAV / CLV  ", 17},
    {"txtColor1", "lblColor1", "Color B/W", 18},
};

// Page 2, in tab order.
const BoxSpec Page2[] = {
    {"txtProducer", "lblProducer", "Producer", 29},
    {"txtCinematographer", "lblCinematographer", "Cinematographer", 30},
    {"txtWritten", "lblWritten",
     "Screen Play By -  Adapted for the screen by  - Writers - Film Editor (optional)", 31},
    {"txtMusic", "lblMusic", "Music - Director / Composer", 32},
    {"txtPackage", "lblPackage", "Packaging", 38},
    {"txtAwards", "lblAward", "Nominations  / Awards or Notes", 39},
    {"txtPurchase", "lblPurchase", "Purchase Date", 40},
    {"txtCost", "lblCost", "Purchase Price", 41},
    {"txtRatings", "lblRates", "Your Rating  (optional)", 56},
    {"txtChoreography", "lblDance", "Choreography", 33},
    {"txtSetDirection", "lblSetDirection", "Art Director", 34},
    {"txtCostume", "lblCostume", "Costume Designer", 35},
    {"txtSound", "lblSound", "Sound Recording  \"THX\" , Dolby AC-3  etc.  ", 70},
    {"txtRating", "lblMPAA", "MPAA Rating", 37},
};

struct MenuSpec {
    const char* name;
    const char* caption;
};

struct TopMenu {
    const char* name;
    const char* caption;
    int help;
    std::vector<MenuSpec> items;
};

}  // namespace

void MainScreen::buildControls() {
    caption = "Reelvane Deluxe Record";

    // Menus first: the menu bar tops the window.
    const std::vector<TopMenu> menus = {
        {"mnuFileMenu",
         "&File",
         440,
         {{"mnuCopy", "&Copy Files"}, {"mnuSave", "&Save"}, {"mnuPrint2", "Set&up Printer"}}},
        {"mnuFindMenu",
         "F&ind ",
         450,
         {{"mnuFile", "Find By File No."},
          {"mnuFindTitle", "Find By Title"},
          {"mnuFindDirector", "Find By Director"},
          {"mnuFindStar", "Find By Star"},
          {"mnuProducer", "Find By Producer"},
          {"mnuCinema", "Find By Cinematographer"},
          {"mnuWriter", "Find By Writer"},
          {"mnuMusic", "Find By Music Comp."},
          {"mnuArt", "Find By Art Director"},
          {"mnuDance", "Find By Choreographer"},
          {"mnuCostume", "Find By Costumer "},
          {"mnuAwards", "Find By Awards"},
          {"mnuMPAA", "Find By MPAA Ratings"},
          {"mnuSound", "Find By Sound"},
          {"mnuFindGenre", "Find By Genre"}}},
        {"mnuViewMenu",
         "&View Files",
         460,
         {{"mnuByTitle", "Alpha Titles"},
          {"mnuByDVD", "Alpha DVDTitles"},
          {"mnuByLaser", "Alpha Laser Titles"},
          {"mnuByVHS", "Alpha VHS Titles"}}},
        {"mnuViewAllMenu",
         "View &All Files",
         520,
         {{"mnuAllTitles", "View All Titles"},
          {"mnualldvd", "View All DVDs"},
          {"mnualllas", "View All Laserdiscs"},
          {"mnuAllVHS", "View All VHSs"},
          {"mnuFindAllGenre", "View All Genre"}}},
        {"mnuSortMenu", "S&ort", 470, {{"mnuSortTitle", "Sort All Files"}}},
        {"mnuPrefsMenu", "Preferen&ces", 0, {}},
        {"mnuHelp", "&Help", 480, {}},
    };
    for (const TopMenu& menu : menus) {
        add(menu.name, ControlKind::Menu, menu.caption).helpContext = menu.help;
        for (const MenuSpec& item : menu.items) {
            Control& c = add(item.name, ControlKind::MenuItem, item.caption);
            c.parent = menu.name;
            c.helpContext = menu.help;
        }
        if (std::string_view(menu.name) == "mnuFileMenu") {
            Control& lib = add("mnuPrintLibrary", ControlKind::Menu, "Print Library");
            lib.parent = "mnuFileMenu";
            lib.helpContext = 440;
            const MenuSpec reports[] = {
                {"mnuAll", "Print All Titles Full List"},
                {"mnuShort", "Print All Titles (Abridged)"},
                {"mnuLaser", "Print All Laser Titles (Abridged)"},
                {"mnuVHS", "Print All VHS Titles (Abridged)"},
                {"mnuDVD", "Print All DVD Titles (Abridged) "},
                {"mnuDirector", "Print By Director"},
                {"mnuStars", "Print By Stars"},
                {"mnuGenre", "Print By Genre"},
            };
            for (const MenuSpec& item : reports) {
                Control& c = add(item.name, ControlKind::MenuItem, item.caption);
                c.parent = "mnuPrintLibrary";
                c.helpContext = 440;
            }
            Control& exit = add("mnuExit", ControlKind::MenuItem, "E&xit");
            exit.parent = "mnuFileMenu";
            exit.helpContext = 440;
            // The exchange with CSV files follows the program's original items.
            for (const auto& [name, text] :
                 {std::pair{exchange::ExportMenuItem, exchange::ExportCaption},
                  std::pair{exchange::ImportMenuItem, exchange::ImportCaption}}) {
                Control& c = add(name, ControlKind::MenuItem, text);
                c.parent = "mnuFileMenu";
                c.helpContext = 440;
            }
        }
        if (std::string_view(menu.name) == "mnuPrefsMenu") {
            Control& colours = add("mnuProgramColors", ControlKind::Menu, "Pro&gram Colors");
            colours.parent = "mnuPrefsMenu";
            const MenuSpec items[] = {
                {"mnuBGColors", "Background Color"}, {"mnuTxtBoxColor", "Text Box Color"},
                {"mnutxtColor", "Text Color"},       {"mnuMessColor", "Message Tags Color"},
                {"mnudefault", "Default Colors"},
            };
            for (const MenuSpec& item : items)
                add(item.name, ControlKind::MenuItem, item.caption).parent = "mnuProgramColors";
        }
    }

    // Status line and heading.
    add("lblsorted", ControlKind::Label).visible = false;
    add("lblHead", ControlKind::Label, NewPrompt);

    // The record boxes with their captions; page 2 starts hidden.
    for (const BoxSpec& b : Page1) {
        add(b.label, ControlKind::Label, b.caption);
        add(b.box, ControlKind::TextBox).helpContext = b.help;
    }
    for (const BoxSpec& b : Page2) {
        add(b.label, ControlKind::Label, b.caption).visible = false;
        Control& box = add(b.box, ControlKind::TextBox);
        box.helpContext = b.help;
        box.visible = false;
    }

    // Message labels.
    add("lblSorting", ControlKind::Label).visible = false;
    add("lblNotes1", ControlKind::Label).visible = false;
    add("lblSave", ControlKind::Label, "Your Work Has Been Saved!").visible = false;
    add("lblSelect", ControlKind::Label,
        "Arrow or click down for selection.  Click or press <Enter> to make selection. ")
        .visible = false;
    add("lblNumrec", ControlKind::Label, "Numrec");
    add("lblRetcode", ControlKind::Label, "Retcode");
    add("Label4", ControlKind::Label);

    // Page buttons.
    add("optnoteson", ControlKind::OptionButton, "Add More Da&ta");
    add("optNotesoff", ControlKind::OptionButton, "Re&turn To Main Page").checked = true;

    // Buttons, first row then second row; the paging buttons of the list
    // views take the places of Previous and Next.
    add("cmdPrevious", ControlKind::Button, "&Previous");
    add("cmdNext", ControlKind::Button, "&Next");
    add("cmdMatch", ControlKind::Button, "Match");
    add("cmdNew", ControlKind::Button, "Ne&w");
    add("cmdEdit", ControlKind::Button, "&Edit");
    add("cmdSave", ControlKind::Button, "&Save");
    add("cmdDelete", ControlKind::Button, "&Delete");
    add("cmdReset", ControlKind::Button, "&Reset");
    add("cmdPrev20", ControlKind::Button, "Previous 20").visible = false;
    add("cmdNext20", ControlKind::Button, "Next 20").visible = false;

    // Picker lists, hidden and empty until opened.
    for (std::string_view list : layout::PickerLists)
        add(std::string(list), ControlKind::ListBox).visible = false;

    // The list-view grid.
    for (std::string_view column : layout::GridColumns)
        for (int row = 0; row < layout::GridRows; ++row)
            add(arrayName(column, row), ControlKind::TextBox).visible = false;
}

}  // namespace reel
