#pragma once

#include <QComboBox>
#include <QStringList>

// A drop-down list of the main tool bar. It takes the keyboard focus only
// while it holds entries, and reports a pick only when the user closes it on
// another entry than the one shown.
class CToolBarList : public QComboBox {
    Q_OBJECT
public:
    CToolBarList(int width, int dropDownHeight, QWidget* parent = nullptr);

    // Replaces the entries; the selection is kept within them.
    void Show(const QStringList& entries, int selection);
    int DropDownHeight() const { return dropDownHeight; }

signals:
    void Picked(int index);

private:
    int dropDownHeight;
    int shown = -1;
};

// The sheets of the active project, "1: name".
class CSheetCombo : public CToolBarList {
    Q_OBJECT
public:
    static constexpr int kWidth = 180;
    static constexpr int kDropDownHeight = 380;
    explicit CSheetCombo(QWidget* parent = nullptr);
};

// The layers 1 to 15 of the active sheet.
class CLayerCombo : public CToolBarList {
    Q_OBJECT
public:
    static constexpr int kWidth = 180;
    static constexpr int kDropDownHeight = 420;
    explicit CLayerCombo(QWidget* parent = nullptr);
};
