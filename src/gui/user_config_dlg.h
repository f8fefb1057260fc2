#pragma once

#include <array>

#include <QDialog>
#include <QFont>

#include "app/settings.h"

class QTabWidget;
class CUserPage;

// The configuration dialog: five pages filled from the settings. OK takes
// every value back (a field without a valid number keeps the dialog open);
// Cancel leaves the settings as they were.
class CUserConfig : public QDialog {
    Q_OBJECT
public:
    explicit CUserConfig(const CSettings& settings, QWidget* parent = nullptr);

    // The settings with the pages' values once the dialog was accepted;
    // before that, the settings it was given.
    const CSettings& Settings() const { return settings; }

    QTabWidget* Pages() const { return tabs; }

    void accept() override;

private:
    CSettings settings;
    QTabWidget* tabs = nullptr;
    // "Raster", "Printer", "Bestanden en mappen", "Lettertype", "Opties"
    std::array<CUserPage*, 5> pages {};
};

// Runs the dialog; on OK the settings take its values and the configuration
// file is written. Returns whether the user chose OK.
bool ShowConfigurationDialog(CSettings& settings, QWidget* parent);

// Reads the configuration file of the program folder into `settings`; a
// file that exists but cannot be read is reported, a missing one is not.
void LoadConfiguration(CSettings& settings, QWidget* parent);
// Writes the configuration file; reports and returns false on failure.
bool SaveConfiguration(const CSettings& settings, QWidget* parent);

// A configured font for the font chooser, and the chooser's answer stored
// back into the configured font (fields the chooser knows nothing of stay).
QFont QFontFromLogFont(const CLogFont& font);
void StoreChosenFont(const QFont& chosen, CLogFont& font);
