#pragma once

#include <QDialog>

#include "app/place_text.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Plaats tekst": the stroke text to place, its layer, pen, size, mirror and
// angle, as texts the way they are typed; reading them is the view's.
class CPlaceTextDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPlaceTextDlg(const CPlaceTextValues& values, QWidget* parent = nullptr);

    // The fields as they stand.
    CPlaceTextValues Values() const;

    QLineEdit* text;
    QComboBox* layer; // editable, without entries
    QComboBox* pen; // editable, without entries
    QLineEdit* size;
    QCheckBox* mirror;
    QLineEdit* angle;
};
