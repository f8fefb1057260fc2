#pragma once

#include "gui/grid_fields.h"

#include <QDialog>
#include <array>

#include "model/grid.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

// "Blad Configuratie": the three grids of the active sheet on the page
// "Raster" (spacing and snap step in millimetres, display, "Op raster") and
// "Toepassen op alle bladen". OK takes the values back (a field without a
// number keeps the dialog open); a spacing or step of 0 or less becomes one
// micrometre.
class CGridDlg : public QDialog {
    Q_OBJECT
public:
    CGridDlg(const CGridArr& grids, bool applyToAll, QWidget* parent = nullptr);

    // The grids with the dialog's values once it was accepted; before that,
    // the grids it was given.
    const CGridArr& Grids() const { return grids; }
    bool ApplyToAll() const { return applyToAll; }

    void accept() override;

private:
    CGridArr grids;
    bool applyToAll;
    std::array<CGridFields, 3> controls;
    QCheckBox* toAll = nullptr;
};

// Runs the dialog; on OK the grids and the switch take its values.
bool EditSheetGrids(CGridArr& grids, bool& applyToAll, QWidget* parent);
