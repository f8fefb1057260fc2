#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "app/print_plan.h"

class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class CDovereduDoc;
class CSheet;

// The frame beside the list that shows one sheet fitted into it. The sheet
// is zoomed and panned for the draw and put back as it was.
class CPrintPreview : public QWidget {
    Q_OBJECT
public:
    explicit CPrintPreview(QWidget* parent = nullptr);
    void SetSheet(CSheet* sheet);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CSheet* sheet = nullptr;
};

// "Project Afdrukken": the sheets of the project in a list in which any
// number are selected (all at first), with a preview of the focused one.
// OK asks for the printer and prints every selected sheet, in list order,
// as a job of its own.
class CPrintJobDlg : public QDialog {
    Q_OBJECT
public:
    CPrintJobDlg(CDovereduDoc& doc, QPrinter& printer, const CPrintOptions& options,
        QWidget* parent = nullptr);

    // The selected entries' sheet indices, in list order.
    std::vector<int> ChosenSheets() const;
    QListWidget* List() const { return list; }
    CPrintPreview* Preview() const { return preview; }

    // Asks which printer to print on; true to print. The platform's print
    // dialog unless replaced; `offerFile` says whether it offers printing
    // to a file.
    std::function<bool(QPrinter&)> choosePrinter;
    bool offerFile = false;

    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool ChoosePrinter(QPrinter& printer);
    void ShowFocused();

    CDovereduDoc& doc;
    QPrinter& printer;
    CPrintOptions options;
    QLabel* text = nullptr;
    QPushButton* allButton = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QListWidget* list = nullptr;
    CPrintPreview* preview = nullptr;
};
