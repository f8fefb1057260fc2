#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "view/view_dialogs.h"

// The view's questions for tests: each question is listed when asked and
// answered by its script; a question without a script is cancelled.
class CScriptedDialogs : public CViewDialogs {
public:
    // "layer", "pen", "grids", "layer table", "font", "symbol", "add picture",
    // "edit picture", "save as", "text", "edit selection",
    // "edit text"
    std::vector<std::string> asked;

    std::function<std::optional<int>(const CLayerArray&, int layer)> layer;
    std::function<bool(CPenValues&)> pen;
    std::function<bool(CGridValues&)> grids;
    std::function<bool(CLayerTable&)> layerTable;
    std::function<std::optional<int>(const std::vector<std::string>& faces, int font)> font;
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& folder)> symbol;
    std::function<std::optional<int>(CAddPictures&, const std::string& pickFolder)> addPicture;
    std::function<bool(CPictureEdit&)> editPicture;
    std::function<bool()> saveAs;
    std::function<bool(CPlaceTextValues&)> text;
    std::function<bool(CSelectionEditValues&)> editSelection;
    std::function<bool(CEditTextValues&, const std::vector<std::string>& fontEntries)> editText;

    std::optional<int> ChooseLayer(const CLayerArray& layers, int active) override
    {
        asked.emplace_back("layer");
        return layer ? layer(layers, active) : std::nullopt;
    }
    bool ChoosePen(CPenValues& values) override
    {
        asked.emplace_back("pen");
        return pen && pen(values);
    }
    bool EditGrids(CGridValues& values) override
    {
        asked.emplace_back("grids");
        return grids && grids(values);
    }
    bool EditLayerTable(CLayerTable& table) override
    {
        asked.emplace_back("layer table");
        return layerTable && layerTable(table);
    }
    std::optional<int> ChooseFont(const std::vector<std::string>& faces, int number) override
    {
        asked.emplace_back("font");
        return font ? font(faces, number) : std::nullopt;
    }
    std::optional<std::filesystem::path> ChooseSymbol(const std::filesystem::path& folder) override
    {
        asked.emplace_back("symbol");
        return symbol ? symbol(folder) : std::nullopt;
    }
    std::optional<int> AddPicture(CAddPictures& add, const std::string& pickFolder) override
    {
        asked.emplace_back("add picture");
        return addPicture ? addPicture(add, pickFolder) : std::nullopt;
    }
    bool EditPicture(CPictureEdit& edit) override
    {
        asked.emplace_back("edit picture");
        return editPicture && editPicture(edit);
    }
    bool SaveProjectAs() override
    {
        asked.emplace_back("save as");
        return saveAs && saveAs();
    }
    bool PlaceText(CPlaceTextValues& values) override
    {
        asked.emplace_back("text");
        return text && text(values);
    }
    bool EditSelection(CSelectionEditValues& values) override
    {
        asked.emplace_back("edit selection");
        return editSelection && editSelection(values);
    }
    bool EditText(CEditTextValues& values, const std::vector<std::string>& entries) override
    {
        asked.emplace_back("edit text");
        return editText && editText(values, entries);
    }
};
