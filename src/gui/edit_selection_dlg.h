#pragma once

#include <QDialog>

#include "app/selection_edit.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Selectie bewerken": mirror, rotate, change pen, change layer and scale
// the selection in one go. It shows the values it is given and, on OK,
// stays open with a message while the angle or the factor is no valid value.
class CEditSelectionDlg : public QDialog {
    Q_OBJECT
public:
    CEditSelectionDlg(const CSelectionEditValues& values, QWidget* parent = nullptr);

    // The values as the fields hold them.
    CSelectionEditValues Values() const;

    void accept() override;

    QCheckBox* mirrorX;
    QCheckBox* mirrorY;
    QCheckBox* rotate;
    QLineEdit* angle;
    QCheckBox* changePen;
    QComboBox* penFrom;
    QComboBox* penTo;
    QCheckBox* changeLayer;
    QComboBox* layerFrom;
    QComboBox* layerTo;
    QCheckBox* scale;
    QLineEdit* factor;
};
