#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "model/etrec.h"
#include "symbols/library_folders.h"
#include "symbols/symbol_search.h"

class QLineEdit;
class QListWidget;
class QPushButton;

// The preview of the chosen symbol, black on white. It is given the
// records once per choice; painting only draws them.
class CSymbolPreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit CSymbolPreviewWidget(QWidget* parent = nullptr);
    // The symbol to show; none leaves the frame blank.
    void SetSymbol(std::optional<std::vector<CSym>> records);
    // A line of text in place of a symbol.
    void SetMessage(const QString& text);
    const std::optional<std::vector<CSym>>& Symbol() const { return symbol; }
    const QString& Message() const { return message; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<std::vector<CSym>> symbol;
    QString message;
};

// "Plaats symbolen": the groups of the symbol library, the symbols of the
// chosen group and a preview of the chosen symbol. Text in "Zoeken:" lists
// the symbols of every group whose "group/name" holds each typed word. OK
// is only possible while a symbol is chosen.
class CPartLib : public QDialog {
    Q_OBJECT
public:
    // Opens on the group and symbol of the file `initial` when the library
    // holds them, else on the first group.
    CPartLib(const std::filesystem::path& libraryRoot, const std::filesystem::path& initial,
        QWidget* parent = nullptr);

    // The file of the chosen symbol, as found in the library; empty while
    // none is chosen.
    const std::filesystem::path& ChosenPath() const { return chosenPath; }

    // Asks for a symbol, opening on the one chosen last in this run; the
    // file after OK.
    static std::optional<std::filesystem::path> Ask(
        const std::filesystem::path& libraryRoot, QWidget* parent);

    QLineEdit* search;
    QListWidget* groupList;
    QListWidget* symbolList;
    CSymbolPreviewWidget* preview;
    QPushButton* ok;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GroupChosen(int row);
    void SymbolChosen(int row);
    void SearchChanged(const QString& text);
    void AddSymbol(int group, int symbol, const QString& label);
    void Choose(const std::filesystem::path& file);

    std::filesystem::path libraryRoot;
    std::vector<CSymbolGroup> groups;
    CSymbolIndex index;
    std::filesystem::path chosenPath;
    int shownGroup = -1;
};
