#pragma once

#include <QDialog>

class CDovereduDoc;
class QLineEdit;
class QPlainTextEdit;
class QListWidget;

// "Project info": the four project texts and, read-only, the sheets.
class CProjectInfoDlg : public QDialog {
    Q_OBJECT
public:
    CProjectInfoDlg(CDovereduDoc& doc, QWidget* parent = nullptr);
    // Copies the texts back and marks the project changed.
    void accept() override;

    QLineEdit* group;
    QLineEdit* name;
    QLineEdit* manager;
    QPlainTextEdit* notes;
    QListWidget* sheets;

private:
    CDovereduDoc& doc;
};
