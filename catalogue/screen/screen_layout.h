#pragma once
// Which controls make up each part of the main screen "frmtavlen3".
//
// The record fields are spread over two pages that share one area of the
// window; each page's captions are shown and hidden with its boxes. The lists
// below are in tab order, which the guided entry of a new film follows and the
// Qt layer uses for its Tab chain.
#include <array>
#include <string_view>

namespace reel::layout {

inline constexpr std::array<std::string_view, 19> Page1Boxes = {
    "txtTitle", "txtDirector", "txtStar1",  "txtStar2",   "txtStar3", "txtStar4",     "txtStar5",
    "txtStar6", "txtLabel",    "txtFormat", "txtNumReel", "txtGenre", "txtGenreList", "txtTime",
    "txtYear",  "txtCassNo",   "txtLetter", "txtCLV1",    "txtColor1"};

// lblNumrec and lblRetcode belong to page 1 as well.
inline constexpr std::array<std::string_view, 20> Page1Captions = {
    "lblTitle", "lblDirector", "lblStar1",  "lblStar2",   "lblStar3",  "lblStar4",      "lblStar5",
    "lblStar6", "lblLabel",    "lblFormat", "lblNumReel", "lblGenre",  "lblGenreList1", "lblTime",
    "lblYear",  "lblCassNo",   "lblLetter", "lblCLV",     "lblColor1", "lblNumrec"};
inline constexpr std::string_view Page1ExtraCaption = "lblRetcode";

inline constexpr std::array<std::string_view, 14> Page2Boxes = {
    "txtProducer",     "txtCinematographer", "txtWritten", "txtMusic",   "txtPackage",
    "txtAwards",       "txtPurchase",        "txtCost",    "txtRatings", "txtChoreography",
    "txtSetDirection", "txtCostume",         "txtSound",   "txtRating"};

inline constexpr std::array<std::string_view, 14> Page2Captions = {
    "lblProducer",     "lblCinematographer", "lblWritten", "lblMusic", "lblPackage",
    "lblAward",        "lblPurchase",        "lblCost",    "lblRates", "lblDance",
    "lblSetDirection", "lblCostume",         "lblSound",   "lblMPAA"};

// The 41 labels that take the background and label-text colours (every label
// of the window except Label4).
inline constexpr std::array<std::string_view, 41> ColouredLabels = {
    "lblsorted", "lblTitle",   "lblDirector",        "lblStar1",   "lblStar2",
    "lblStar3",  "lblStar4",   "lblStar5",           "lblStar6",   "lblLabel",
    "lblSelect", "lblFormat",  "lblNumReel",         "lblGenre",   "lblGenreList1",
    "lblTime",   "lblYear",    "lblCassNo",          "lblLetter",  "lblCLV",
    "lblColor1", "lblRetcode", "lblNumrec",          "lblHead",    "lblProducer",
    "lblMusic",  "lblAward",   "lblCinematographer", "lblCost",    "lblCostume",
    "lblDance",  "lblMPAA",    "lblNotes1",          "lblPackage", "lblPurchase",
    "lblRates",  "lblSave",    "lblSetDirection",    "lblSorting", "lblSound",
    "lblWritten"};

inline constexpr std::array<std::string_view, 2> PageButtons = {"optNotesoff", "optnoteson"};

// The six picker lists.
inline constexpr std::array<std::string_view, 6> PickerLists = {"List1", "List2", "List3",
                                                                "List4", "List5", "List6"};

// The list-view grid: three columns of twenty cells.
inline constexpr std::array<std::string_view, 3> GridColumns = {"Text1", "Text2", "Text3"};
inline constexpr int GridRows = 20;

}  // namespace reel::layout
