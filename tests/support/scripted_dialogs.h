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
    std::vector<std::string> asked; // "layer", "pen", "grids", "layer table", "font", "symbol",
                                    // "edit text"

    std::function<std::optional<int>(const CLayerArray&, int layer)> layer;
    std::function<bool(CPenValues&)> pen;
    std::function<bool(CGridValues&)> grids;
    std::function<bool(CLayerTable&)> layerTable;
    std::function<std::optional<int>(const std::vector<std::string>& faces, int font)> font;
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& folder)> symbol;
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
    bool EditText(CEditTextValues& values, const std::vector<std::string>& entries) override
    {
        asked.emplace_back("edit text");
        return editText && editText(values, entries);
    }
};
