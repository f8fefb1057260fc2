#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/choice_logic.h"
#include "app/edit_text_values.h"

// What the view asks the user: one function per question, values in and out
// as plain values. The GUI answers with its dialogs; tests script it. Every
// question may be cancelled, which changes nothing.
//
// Still to come with the tools that ask them: place text, edit
// selection, picture file, picture properties, reserve file.
class CViewDialogs {
public:
    virtual ~CViewDialogs() = default;

    // "Kies actieve laag": a layer 1 ... 15 of `layers`, `layer` selected.
    virtual std::optional<int> ChooseLayer(const CLayerArray& layers, int layer) = 0;
    // "Kies pen": the pen and the pen widths; true after OK, with the
    // choice in `values`.
    virtual bool ChoosePen(CPenValues& values) = 0;
    // "Blad Configuratie": the grids and whether they apply to every sheet;
    // true after OK, with the edits in `values`.
    virtual bool EditGrids(CGridValues& values) = 0;
    // "Laag configuratie": true after OK, with the edits in `table`.
    virtual bool EditLayerTable(CLayerTable& table) = 0;
    // "Kies lettertype": one of the configured fonts (Windows-1252 face
    // names), numbered from 0.
    virtual std::optional<int> ChooseFont(const std::vector<std::string>& faces, int fontNumber)
        = 0;
    // "Plaats symbolen": a symbol of the library below `symbolsFolder`, as
    // the file found there; none after Cancel. It opens on the group and
    // symbol chosen last in this run.
    virtual std::optional<std::filesystem::path> ChooseSymbol(
        const std::filesystem::path& symbolsFolder)
        = 0;
    // "Bewerk tekst": the fields of one or more texts, the font list's
    // entries ("%d. %s") beside them; true after OK, with the edits in
    // `values`.
    virtual bool EditText(CEditTextValues& values, const std::vector<std::string>& fontEntries) = 0;
};
