#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "dxf/dxf_sheet_choice.h"

class QListWidget;
class QWidget;
class CDovereduDoc;
struct CSettings;

// "Export DXF": the sheets still available on the left, those to export on
// the right, moved with ">", ">>", "<" and "<<" or by a double-click. OK
// with an empty export list counts as cancelled.
class CDXFExportDlg : public QDialog {
    Q_OBJECT
public:
    // Sheet names are Windows-1252.
    explicit CDXFExportDlg(const std::vector<std::string>& sheetNames, QWidget* parent = nullptr);

    // The names to export, in list order, once the dialog was accepted.
    const std::vector<std::string>& Result() const { return chosenNames; }

    void accept() override;

private:
    void Refill();

    CDXFSheetChoice choice;
    std::vector<std::string> chosenNames;
    QListWidget* availableList = nullptr;
    QListWidget* chosenList = nullptr;
};

// The command "Exporteer DXF...": chooses sheets, then a folder through the
// save dialog (opened in the project's folder below the projects folder),
// and writes one file per chosen sheet there. Failures are shown in a
// message box. Returns whether files were written without a failure.
bool RunDXFExportCommand(const CDovereduDoc& doc, const CSettings& settings, QWidget* parent);
