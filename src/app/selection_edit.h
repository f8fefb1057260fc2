#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/document.h"

// "Selectie bewerken": what the dialog shows and what its OK does. The
// dialog only shows these values; opening, checking and remembering them
// happen here.

// The texts of the "van" and "naar" choices: "All" first where it is one.
inline constexpr std::string_view kAllChoice = "All";
inline constexpr int kLowestAngle = -359;
inline constexpr int kHighestAngle = 359;
inline constexpr std::string_view kMsgAngle = "Enter an integer between -359 and 359.";
inline constexpr std::string_view kMsgNumber = "Enter a number.";

// The dialog's fields, top to bottom: "Spiegel", "Roteer", "Penwissel",
// "Laagwissel", "Schaal". The choices are their texts ("All", "1" ...);
// the angle and the factor are what the user typed.
struct CSelectionEditValues {
    bool mirrorX = false;
    bool mirrorY = false;
    bool rotate = false;
    std::string angle = "0";
    bool changePen = false;
    std::string penFrom = std::string(kAllChoice);
    std::string penTo = "1";
    bool changeLayer = false;
    std::string layerFrom = std::string(kAllChoice);
    std::string layerTo = "1";
    bool scale = false;
    std::string factor = "100";

    friend bool operator==(const CSelectionEditValues&, const CSelectionEditValues&) = default;
};

// The choices of "van" ("All" and 1 ... highest) and "naar" (1 ... highest).
std::vector<std::string> FromChoices(int highest);
std::vector<std::string> ToChoices(int highest);

// What the dialog opens with: "Spiegel" and "Roteer" as last confirmed in
// this project, the other groups at their defaults.
CSelectionEditValues OpenSelectionEdit(const CDovereduDoc::SelectionEditSettings& remembered);

// The message for the first field that is no valid value (the angle, then
// the factor), or none: the dialog stays open while there is one.
std::optional<std::string_view> CheckSelectionEdit(const CSelectionEditValues& values);

// The edit that OK asks for, read from valid values: "All" is CSheet::kAll.
struct CSelectionEdit {
    bool mirrorX = false;
    bool mirrorY = false;
    std::optional<int> angle; // degrees, when "Roteer" is ticked
    std::optional<std::pair<int, int>> pen; // from, to
    std::optional<std::pair<int, int>> layer; // from, to
    std::optional<double> percent; // when "Schaal" is ticked

    bool Any() const { return mirrorX || mirrorY || angle || pen || layer || percent; }
};
// None when a value does not check out.
std::optional<CSelectionEdit> ReadSelectionEdit(const CSelectionEditValues& values);

// OK remembers every value in the project.
void RememberSelectionEdit(
    CDovereduDoc::SelectionEditSettings& remembered, const CSelectionEditValues& values);
