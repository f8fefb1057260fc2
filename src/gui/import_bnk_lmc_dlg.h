#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "symbols/dos_library.h"

class QListWidget;
class QPushButton;
struct CSettings;

// "Import BNK en LMC bestanden": every ".BNK" and ".LMC" file below a chosen
// folder is listed with the symbol file it becomes below the symbols folder,
// keeping the folder structure; "Importeer" converts them all and closes.
// "Bladeren..." starts in the home folder.
class CImportBnkLmcDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kChooserTitle = "Importeer DOS PCB Library";

    // The symbols folder as a UTF-8 path.
    explicit CImportBnkLmcDlg(const std::string& symbolsFolder, QWidget* parent = nullptr);

    // Lists the files below `root`; "Importeer" is enabled when any was found.
    void ScanFolder(const std::filesystem::path& root);

    // The files that could not be converted by "Importeer".
    const std::vector<std::filesystem::path>& Failed() const { return failed; }

private:
    void Browse();
    void Import();

    std::filesystem::path symbolsFolder;
    CLibraryConversion conversion;
    std::vector<std::filesystem::path> failed;
    QListWidget* fileList = nullptr;
    QPushButton* importButton = nullptr;
};

// The command "Importeer DOS PCB Library...": the dialog above, converting into
// the configured symbols folder. Returns whether files were converted.
bool RunImportBnkLmcCommand(const CSettings& settings, QWidget* parent);
