#pragma once

struct CGrid;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;

// The fields of one grid, as the configuration's grid page and the sheet's
// grid dialog both show them: spacing and snap step in millimetres, the
// display kind and the snap switch.
struct CGridFields {
    QLineEdit* spacingX = nullptr;
    QLineEdit* spacingY = nullptr;
    QLineEdit* snapX = nullptr;
    QLineEdit* snapY = nullptr;
    QButtonGroup* display = nullptr;
    QCheckBox* snapOn = nullptr;
};

// The group box of grid g (0 "Lijnen", 1 "Symbolen", 2 "Teksten") filled from
// the grid; the fields are named for tests ("spacingX0", "display0_2", ...).
QGroupBox* MakeGridFields(int g, const CGrid& grid, CGridFields& fields);

// Takes the fields back into the grid. Returns the field that holds no
// number (the grid is then partly changed), or null.
QLineEdit* TakeGridFields(const CGridFields& fields, CGrid& grid);
