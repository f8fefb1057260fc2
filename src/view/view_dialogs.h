#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/choice_logic.h"
#include "app/edit_text_values.h"
#include "app/picture_values.h"
#include "app/place_text.h"
#include "app/selection_edit.h"

// What the view asks the user: one function per question, values in and out
// as plain values. The GUI answers with its dialogs; tests script it. Every
// question may be cancelled, which changes nothing.
//
// Still to come with the tools that ask them: reserve file.
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
    // "Afbeelding toevoegen": the list of the project's picture folder, into
    // which "Afbeeldingen toevoegen" copies files chosen in a file dialog
    // that opens in `pickFolder` (CAddPictures::AddFiles); "Plaatsen" puts
    // the selected one on the sheet (CAddPictures::Place) and closes. The
    // index of the picture placed; none after Cancel.
    virtual std::optional<int> AddPicture(CAddPictures& add, const std::string& pickFolder) = 0;
    // "Afbeelding aanpassen": every change the dialog accepts reaches the
    // listener of `edit` at once; true after OK, false after Cancel.
    virtual bool EditPicture(CPictureEdit& edit) = 0;
    // "Opslaan als" for a project that has no file yet; true when the
    // project was saved.
    virtual bool SaveProjectAs() = 0;
    // "Plaats tekst": the stroke text to place and its settings; true after
    // OK, with the fields as typed in `values`.
    virtual bool PlaceText(CPlaceTextValues& values) = 0;
    // "Selectie bewerken": true after OK, with valid values in `values`.
    virtual bool EditSelection(CSelectionEditValues& values) = 0;
    // "Bewerk tekst": the fields of one or more texts, the font list's
    // entries ("%d. %s") beside them; true after OK, with the edits in
    // `values`.
    virtual bool EditText(CEditTextValues& values, const std::vector<std::string>& fontEntries) = 0;
};
