#pragma once

#include <QDialog>
#include <QStringList>
#include <QWidget>

class CRecentFileList;
class QCheckBox;
class QLabel;

// The recent-file list in the per-user settings store.
void LoadRecentFiles(CRecentFileList& list);
void SaveRecentFiles(const CRecentFileList& list);

// The window shown for three seconds at start.
class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    explicit CSplashWnd(QWidget* owner);
    static constexpr int kShowMilliseconds = 3000;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Tip van de dag": one tip at a time from the tips file in the program folder.
class CTipDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTipDlg(QWidget* parent = nullptr);
    // The switch "Toon tips bij opstarten", kept in the settings store.
    static bool ShowAtStartup();
    QStringList tips;
    int current = 0;
    QLabel* tipText;
    QCheckBox* showAtStartup;

private:
    void ShowTip();
};

// "Info...": what the program is.
void ShowAboutBox(QWidget* parent);
