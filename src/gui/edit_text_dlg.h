#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "app/edit_text_values.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Bewerk tekst": the string and the attributes of one or more texts in a
// system font. Return accepts from every field.
class CEditTextDlg : public QDialog {
    Q_OBJECT
public:
    // The font list's entries are Windows-1252, "%d. %s".
    CEditTextDlg(const CEditTextValues& values, const std::vector<std::string>& fontEntries,
        QWidget* parent = nullptr);
    // The fields as they stand.
    CEditTextValues Values() const;

    QLineEdit* text;
    QLineEdit* height;
    QComboBox* layer;
    QLineEdit* angle;
    QComboBox* font;
    QCheckBox* bold;
    QCheckBox* italic;
};
