#pragma once

#include <QDialog>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class CDovereduDoc;
class CSheet;
class QLineEdit;
class QListWidget;
class QPushButton;

// Draws one sheet, fitted, as a preview.
class CSheetPreview : public QWidget {
    Q_OBJECT
public:
    explicit CSheetPreview(QWidget* parent = nullptr);
    void SetSheet(CSheet* sheet);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CSheet* sheet = nullptr;
};

// "Blad toevoegen": the template groups (the projects in the templates
// folder), their sheets and a preview of the chosen one.
class CSjablonenDlg : public QDialog {
    Q_OBJECT
public:
    enum Result { Cancelled = 0, FromTemplate = 1, WithoutTemplate = 2 };

    CSjablonenDlg(const std::string& templatesFolder, QWidget* parent = nullptr);
    ~CSjablonenDlg() override;

    // The chosen template sheet after OK; null when there is none.
    const CSheet* ChosenSheet() const;

    QListWidget* groups;
    QListWidget* templates;
    CSheetPreview* preview;
    QPushButton* noTemplate;

private:
    void LoadGroup(int row);
    void ShowTemplate(int row);

    std::string folder;
    std::vector<std::string> groupFiles;
    std::unique_ptr<CDovereduDoc> project;
};

// "Blad indeling": the order and the names of the sheets.
class CSheetManagerDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSheetManagerDlg(const CDovereduDoc& doc, QWidget* parent = nullptr);

    void MoveUp();
    void MoveDown();
    // Where each sheet came from, and the names shown, in the new order.
    const std::vector<int>& Order() const { return order; }
    std::vector<std::string> Names() const;

    QListWidget* list;
    QPushButton* up;
    QPushButton* down;

private:
    void Swap(int a, int b);
    std::vector<int> order;
};

// "Bladnaam aanpassen".
class CEditSheetNameDlg : public QDialog {
    Q_OBJECT
public:
    CEditSheetNameDlg(const std::string& name, QWidget* parent = nullptr);
    std::string Name() const;
    QLineEdit* field;
};

// "Ga naar blad": a sheet number from 1.
class CSelectSheetDlg : public QDialog {
    Q_OBJECT
public:
    CSelectSheetDlg(int number, QWidget* parent = nullptr);
    void accept() override;
    int Number() const { return number; }
    QLineEdit* field;

private:
    int number;
};
