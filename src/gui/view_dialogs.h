#pragma once

#include "view/view_dialogs.h"

class QWidget;

// The view's questions asked with the program's dialogs, over `parent`.
class CQtViewDialogs : public CViewDialogs {
public:
    explicit CQtViewDialogs(QWidget* parent)
        : parent(parent)
    {
    }

    std::optional<int> ChooseLayer(const CLayerArray& layers, int layer) override;
    bool ChoosePen(CPenValues& values) override;
    bool EditGrids(CGridValues& values) override;
    bool EditLayerTable(CLayerTable& table) override;
    std::optional<int> ChooseFont(const std::vector<std::string>& faces, int fontNumber) override;
    std::optional<std::filesystem::path> ChooseSymbol(
        const std::filesystem::path& symbolsFolder) override;
    std::optional<int> AddPicture(CAddPictures& add, const std::string& pickFolder) override;
    bool EditPicture(CPictureEdit& edit) override;
    // Runs the main window's "Opslaan als" for the active project.
    bool SaveProjectAs() override;
    bool PlaceText(CPlaceTextValues& values) override;
    bool EditSelection(CSelectionEditValues& values) override;
    bool EditText(CEditTextValues& values, const std::vector<std::string>& fontEntries) override;

private:
    QWidget* parent;
};
