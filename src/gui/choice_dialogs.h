#pragma once

#include <QColor>
#include <QDialog>
#include <QFrame>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/choice_logic.h"

class CSheet;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// "Kies actieve laag": layers 1 to 15 by name.
class CSelectLayerDlg : public QDialog {
    Q_OBJECT
public:
    CSelectLayerDlg(const CLayerArray& layers, int layer, QWidget* parent = nullptr);

    // The chosen layer after OK; the given layer otherwise.
    int Layer() const;

    // Asks for a layer of the sheet; without a sheet nothing shows and the
    // layer comes back unchanged.
    static int Choose(QWidget* parent, const CSheet* sheet, int layer);

    QListWidget* list;

private:
    int given;
};

// One pen's line style, drawn across the middle of the field as the line
// types of layers 8 to 15 draw it.
class CPenStyleField : public QFrame {
    Q_OBJECT
public:
    explicit CPenStyleField(int pen, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pen;
};

// "Pendiameter aanpassen": one width text.
class CEditPenWidth : public QDialog {
    Q_OBJECT
public:
    CEditPenWidth(const std::string& text, QWidget* parent = nullptr);
    std::string Text() const;
    QLineEdit* field;
};

// "Kies pen ": pens 1 to 7 with their widths and line styles. The keys 1 to
// 7 choose a pen and close the dialog at once.
class CPenDialog : public QDialog {
    Q_OBJECT
public:
    CPenDialog(const std::array<int32_t, kPenCount>& penWidths, int pen, QWidget* parent = nullptr);

    const CPenChoice& Choice() const { return choice; }
    // "Aanpassen": edits the width text of the selected pen.
    void AdjustWidth();

    // Asks for a pen of the sheet. OK stores every width text into the
    // sheet's pen widths and gives the chosen pen; otherwise, and when the
    // dialog does not open (no sheet, a pen of 0 or less), the pen comes
    // back unchanged.
    static int Choose(QWidget* parent, CSheet* sheet, int pen);

    std::array<QRadioButton*, kChoosablePens> pens {};
    std::array<QLineEdit*, kChoosablePens> widths {};
    std::array<CPenStyleField*, kChoosablePens> styles {};
    QPushButton* adjust;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CPenChoice choice;
};

// A field painted in one colour.
class CColourField : public QFrame {
    Q_OBJECT
public:
    explicit CColourField(QWidget* parent = nullptr);
    void SetColour(const QColor& colour);
    QColor Colour() const { return colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour;
};

// "Laag configuratie": names, usage, colours and visibility of the layers,
// 1 to 8 at the left, 9 to 15 and the background at the right.
class CLayerDlg : public QDialog {
    Q_OBJECT
public:
    // The sheet's counts must be recounted first.
    explicit CLayerDlg(const CSheet& sheet, QWidget* parent = nullptr);
    explicit CLayerDlg(const CLayerTable& values, QWidget* parent = nullptr);

    // The table as the fields show it.
    CLayerTable Table() const;
    // After OK: names, visibility and colours into the sheet.
    void Apply(CSheet& sheet);
    // "...": the colour chooser for the layer's colour field.
    void ChooseColour(int layer);

    // The colour chooser; by default the system's colour dialog. No value
    // when the user cancels.
    std::function<std::optional<QColor>(const QColor&)> askColour;

    std::array<QLineEdit*, kLayerCount> names {}; // null for layer 0
    std::array<QLabel*, kLayerCount> uses {};
    std::array<CColourField*, kLayerCount> colours {};
    std::array<QPushButton*, kLayerCount> colourButtons {};
    std::array<QCheckBox*, kLayerCount> shown {};
    QCheckBox* printColours;

private:
    void ShowColours();

    CLayerTable table;
};

// "Kies lettertype": the eight configured fonts.
class CChooseFontDlg : public QDialog {
    Q_OBJECT
public:
    // Face names in Windows-1252.
    CChooseFontDlg(
        const std::vector<std::string>& faces, int fontNumber, QWidget* parent = nullptr);
    // The selected entry, from 0.
    int FontNumber() const;
    QListWidget* list;
};
