// The main screen's constructor and which handler serves which event.
#include <utility>

#include "screen/main_screen.h"

namespace reel {

MainScreen::MainScreen(AppContext& app)
    : Form("frmtavlen3"),
      master(app.directory),
      app_(app),
      index_(std::make_unique<IndexFeatures>()),
      reports_(std::make_unique<ReportFeatures>()),
      prefs_(std::make_unique<PreferenceFeatures>()),
      exchange_(std::make_unique<ExchangeFeatures>()) {
    buildControls();
    connectEvents();
    connectSeamMenus();
}

MainScreen::~MainScreen() = default;

void MainScreen::install(std::unique_ptr<IndexFeatures> features) {
    index_ = std::move(features);
    indexInstalled_ = true;
}
void MainScreen::install(std::unique_ptr<ReportFeatures> features) {
    reports_ = std::move(features);
    reportsInstalled_ = true;
}
void MainScreen::install(std::unique_ptr<PreferenceFeatures> features) {
    prefs_ = std::move(features);
    prefsInstalled_ = true;
}
void MainScreen::install(std::unique_ptr<ExchangeFeatures> features) {
    exchange_ = std::move(features);
}

void MainScreen::connectEvents() {
    auto click = [this](const char* control, void (MainScreen::*handler)()) {
        on(control, EventKind::Click, [this, handler](const Event&) { (this->*handler)(); });
    };
    auto gotFocus = [this](const char* control, void (MainScreen::*handler)()) {
        on(control, EventKind::GotFocus, [this, handler](const Event&) { (this->*handler)(); });
    };
    auto lostFocus = [this](const char* control, void (MainScreen::*handler)()) {
        on(control, EventKind::LostFocus, [this, handler](const Event&) { (this->*handler)(); });
    };
    auto change = [this](const char* control, void (MainScreen::*handler)()) {
        on(control, EventKind::Change, [this, handler](const Event&) { (this->*handler)(); });
    };

    on("", EventKind::Load, [this](const Event&) { Form_Load(); });
    on("", EventKind::QueryClose, [this](const Event& e) { Form_QueryClose(e); });

    click("cmdNext", &MainScreen::cmdNext_Click);
    click("cmdPrevious", &MainScreen::cmdPrevious_Click);
    click("cmdReset", &MainScreen::cmdReset_Click);
    click("cmdMatch", &MainScreen::cmdMatch_Click);
    click("mnuFile", &MainScreen::mnuFile_Click);
    click("cmdNext20", &MainScreen::cmdNext20_Click);
    click("cmdPrev20", &MainScreen::cmdPrev20_Click);

    click("cmdNew", &MainScreen::cmdNew_Click);
    click("cmdEdit", &MainScreen::cmdEdit_Click);
    click("cmdSave", &MainScreen::cmdSave_Click);
    click("mnuSave", &MainScreen::mnuSave_Click);
    click("cmdDelete", &MainScreen::cmdDelete_Click);
    click("optnoteson", &MainScreen::optnoteson_Click);
    click("optNotesoff", &MainScreen::optNotesoff_Click);

    click("mnuExit", &MainScreen::mnuExit_Click);
    click("mnuHelp", &MainScreen::mnuHelp_Click);

    // Boxes whose only job on entry is the browsing guard, with the caption
    // its warning shows. txtNumReel's caption really is "Title".
    const std::pair<const char*, const char*> guarded[] = {
        {"txtDirector", "Director"},
        {"txtStar1", "Star1"},
        {"txtStar2", "Star2"},
        {"txtStar3", "Star3"},
        {"txtStar4", "Star4"},
        {"txtStar5", "Star5"},
        {"txtStar6", "Star6"},
        {"txtLabel", "Label"},
        {"txtTime", "Time"},
        {"txtProducer", "Producer"},
        {"txtCinematographer", "Cinematographer"},
        {"txtWritten", "Writters"},
        {"txtMusic", "Music Director"},
        {"txtChoreography", "Choreographer"},
        {"txtSetDirection", "Art Director"},
        {"txtCostume", "Costume Design"},
        {"txtSound", "Sound"},
        {"txtPackage", "Package"},
        {"txtAwards", "Awards"},
        {"txtPurchase", "Purchase Date"},
        {"txtCost", "Purchase Price"},
        {"txtRatings", "Your Rating"},
    };
    for (const auto& [box, warningCaption] : guarded) {
        std::string captionText = warningCaption;
        on(box, EventKind::GotFocus,
           [this, captionText](const Event&) { guardedBox_GotFocus(captionText); });
    }

    click("txtTitle", &MainScreen::txtTitle_Click);
    gotFocus("txtFormat", &MainScreen::txtFormat_GotFocus);
    click("txtFormat", &MainScreen::txtFormat_Click);
    lostFocus("txtFormat", &MainScreen::txtFormat_LostFocus);
    gotFocus("txtNumReel", &MainScreen::txtNumReel_GotFocus);
    gotFocus("txtGenre", &MainScreen::txtGenre_GotFocus);
    on("txtGenre", EventKind::Click, [this](const Event&) { pickerBox_Click(Picker::Genre); });
    change("txtGenre", &MainScreen::txtGenre_Change);
    gotFocus("txtCassNo", &MainScreen::txtCassNo_GotFocus);
    change("txtCassNo", &MainScreen::txtCassNo_Change);
    gotFocus("txtLetter", &MainScreen::txtLetter_GotFocus);
    on("txtLetter", EventKind::Click, [this](const Event&) { pickerBox_Click(Picker::Aspect); });
    change("txtLetter", &MainScreen::txtLetter_Change);
    gotFocus("txtCLV1", &MainScreen::txtCLV1_GotFocus);
    click("txtCLV1", &MainScreen::txtCLV1_Click);
    gotFocus("txtColor1", &MainScreen::txtColor1_GotFocus);
    click("txtColor1", &MainScreen::txtColor1_Click);
    lostFocus("txtColor1", &MainScreen::txtColor1_LostFocus);
    gotFocus("txtRating", &MainScreen::txtRating_GotFocus);
    on("txtRating", EventKind::Click, [this](const Event&) { pickerBox_Click(Picker::Rating); });
    lostFocus("txtLabel", &MainScreen::txtLabel_LostFocus);
    click("txtTime", &MainScreen::txtTime_Click);
    gotFocus("txtYear", &MainScreen::txtYear_GotFocus);
    click("txtYear", &MainScreen::txtYear_Click);
    lostFocus("txtMusic", &MainScreen::txtMusic_LostFocus);
    lostFocus("txtRatings", &MainScreen::txtRatings_LostFocus);

    const std::pair<const char*, Picker> lists[] = {
        {"List1", Picker::Genre},  {"List2", Picker::Rating}, {"List3", Picker::Format},
        {"List4", Picker::Aspect}, {"List5", Picker::Clv},    {"List6", Picker::Colour},
    };
    for (const auto& [list, picker] : lists) {
        Picker p = picker;
        on(list, EventKind::Click, [this, p](const Event& e) { List_Click(p, e); });
        on(list, EventKind::KeyPress, [this, p](const Event& e) { List_KeyPress(p, e); });
        on(list, EventKind::KeyDown, [this, p](const Event& e) {
            // Enter chooses even where the toolkit reports it only as a key down.
            if (e.key == keys::Enter) List_KeyPress(p, e);
        });
        on(list, EventKind::MouseDown, [this, p](const Event& e) { List_MouseDown(p, e); });
        on(list, EventKind::LostFocus, [this, p](const Event&) { List_LostFocus(p); });
    }
    // A mouse press on a picker's box while its list is open takes the selection.
    const std::pair<const char*, Picker> boxes[] = {
        {"txtGenre", Picker::Genre},   {"txtRating", Picker::Rating}, {"txtFormat", Picker::Format},
        {"txtLetter", Picker::Aspect}, {"txtCLV1", Picker::Clv},      {"txtColor1", Picker::Colour},
    };
    for (const auto& [box, picker] : boxes) {
        Picker p = picker;
        on(box, EventKind::MouseDown, [this, p](const Event& e) {
            if (e.button == 1) pickerBox_MouseDown(p);
        });
    }
    // Typing into a picker's box while its list is open takes the selection.
    on("txtRating", EventKind::Change, [this](const Event&) { pickerBox_Change(Picker::Rating); });
    on("txtFormat", EventKind::Change, [this](const Event&) { pickerBox_Change(Picker::Format); });
    on("txtCLV1", EventKind::Change, [this](const Event&) { pickerBox_Change(Picker::Clv); });
    on("txtColor1", EventKind::Change, [this](const Event&) { pickerBox_Change(Picker::Colour); });
}

// Menu items and buttons whose work lives in the plug-in modules. Choosing a
// view, search or list leaves a record being entered or edited, as moving
// does; nothing happens at all while the module is not installed.
void MainScreen::connectSeamMenus() {
    auto indexItem = [this](const char* control, auto action, bool leavesEntry) {
        on(control, EventKind::Click, [this, action, leavesEntry](const Event&) {
            if (!indexInstalled_) return;
            if (leavesEntry) abandonEntry();
            action(*index_);
        });
    };
    indexItem(
        "mnuSortTitle", [this](IndexFeatures& f) { f.indexBuild(*this); }, false);

    const std::pair<const char*, const char*> views[] = {
        {"mnuByTitle", "Title"}, {"mnuByDVD", "DVD"}, {"mnuByLaser", "Laser"}, {"mnuByVHS", "VHS"}};
    for (const auto& [control, view] : views) {
        std::string v = view;
        indexItem(
            control, [this, v](IndexFeatures& f) { f.showAlphabetic(*this, v); }, true);
    }

    const std::pair<const char*, const char*> searches[] = {
        {"mnuFindTitle", "Title"}, {"mnuFindDirector", "Director"},
        {"mnuFindStar", "Star"},   {"mnuProducer", "Producer"},
        {"mnuCinema", "Cinema"},   {"mnuWriter", "Writer"},
        {"mnuMusic", "Music"},     {"mnuArt", "Art"},
        {"mnuDance", "Dance"},     {"mnuCostume", "Costume"},
        {"mnuAwards", "Awards"},   {"mnuMPAA", "MPAA"},
        {"mnuSound", "Sound"}};
    for (const auto& [control, kind] : searches) {
        std::string k = kind;
        indexItem(
            control, [this, k](IndexFeatures& f) { f.fieldSearch(*this, k); }, true);
    }
    indexItem(
        "mnuFindGenre", [this](IndexFeatures& f) { f.genreSearch(*this); }, true);

    const std::pair<const char*, const char*> lists[] = {{"mnuAllTitles", "Title"},
                                                         {"mnualldvd", "DVD"},
                                                         {"mnualllas", "Laser"},
                                                         {"mnuAllVHS", "VHS"},
                                                         {"mnuFindAllGenre", "Genre"}};
    for (const auto& [control, kind] : lists) {
        std::string k = kind;
        indexItem(
            control, [this, k](IndexFeatures& f) { f.openList(*this, k); }, true);
    }

    on("mnuPrint2", EventKind::Click, [this](const Event&) {
        if (reportsInstalled_) reports_->setupPrinter(*this);
    });
    const std::pair<const char*, ReportKind> reports[] = {
        {"mnuAll", ReportKind::FullList},  {"mnuShort", ReportKind::AllTitles},
        {"mnuLaser", ReportKind::Laser},   {"mnuVHS", ReportKind::Vhs},
        {"mnuDVD", ReportKind::Dvd},       {"mnuDirector", ReportKind::ByDirector},
        {"mnuStars", ReportKind::ByStars}, {"mnuGenre", ReportKind::ByGenre}};
    for (const auto& [control, kind] : reports) {
        ReportKind k = kind;
        on(control, EventKind::Click, [this, k](const Event&) {
            if (reportsInstalled_) reports_->printReport(*this, k);
        });
    }

    const std::pair<const char*, ColourGroup> colours[] = {
        {"mnuBGColors", ColourGroup::Background},
        {"mnuTxtBoxColor", ColourGroup::TextBoxBack},
        {"mnutxtColor", ColourGroup::Text},
        {"mnuMessColor", ColourGroup::Label}};
    for (const auto& [control, group] : colours) {
        ColourGroup g = group;
        on(control, EventKind::Click, [this, g](const Event&) {
            if (prefsInstalled_) prefs_->chooseColour(*this, g);
        });
    }
    on("mnudefault", EventKind::Click, [this](const Event&) {
        if (prefsInstalled_) prefs_->defaultColours(*this);
    });
    on("mnuCopy", EventKind::Click, [this](const Event&) {
        if (prefsInstalled_) prefs_->copyFiles(*this);
    });
    on(exchange::ExportMenuItem, EventKind::Click,
       [this](const Event&) { exchange_->exportCatalogue(*this); });
    on(exchange::ImportMenuItem, EventKind::Click,
       [this](const Event&) { exchange_->importCatalogue(*this); });
}

}  // namespace reel
