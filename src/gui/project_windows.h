#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/command_router.h"
#include "app/startup.h"

class CDovereduDoc;
class CDovereduView;
class CMainFrame;
class QMdiSubWindow;

// One project window: a project document and the view that shows it.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    // The view takes the main window's settings and status bar when given one.
    explicit CChildFrame(
        std::unique_ptr<CDovereduDoc> doc, CMainFrame* frame = nullptr, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CDovereduDoc& Document() { return *doc; }
    CDovereduView& View() { return *view; }
    // The window's title: the file's name, or the running name of a new project.
    void UpdateTitle();

    // Asked before the window closes; false keeps it open.
    std::function<bool(CChildFrame&)> canClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<CDovereduDoc> doc;
    CDovereduView* view;
};

// The open projects of the main window and the file commands: new, open,
// save, save as, close, the recent files, dropped files and the project info.
class CProjectWindows : public QObject {
    Q_OBJECT
public:
    explicit CProjectWindows(CMainFrame& frame);
    ~CProjectWindows() override;

    // Opens a project, or activates its window when it is open already.
    // A file that cannot be read shows its message and leaves no window.
    bool OpenFile(const QString& path);
    void NewProject();
    bool SaveActive();
    bool SaveActiveAs();
    // "Open reservebestand": a reserve copy chosen in the backup folder
    // takes the place of the active project.
    void OpenReserveFile();
    // Asks every project whether to save it; false when the user cancels.
    bool CloseAll();
    void ShowProjectInfo();

    CChildFrame* Active() const;
    // The active window, after its view finished what its tool had in
    // progress (a line being drawn): for the commands that change or read
    // the sheet under the tool.
    CChildFrame* ActiveFinished() const;
    std::vector<CChildFrame*> Windows() const;
    CRecentFileList& RecentFiles() { return recent; }

    // Asks the user for the first sheet of a project that has none; without
    // it the project gets the default sheet.
    std::function<void()> askForFirstSheet;

    // Called after each complete draw of any view (start-up timing).
    std::function<void()> drawn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RegisterCommands();
    CChildFrame* AddWindow(std::unique_ptr<CDovereduDoc> doc);
    bool AskToSave(CChildFrame& window);
    bool SaveTo(CChildFrame& window, const QString& path);
    QString AskSavePath(const QString& suggestion);
    // Reads a reserve copy into a new project that stands for
    // `replacedProject`; "Fout in backup..." and null when it cannot be read.
    std::unique_ptr<CDovereduDoc> ReadReserveCopy(
        const std::string& copy, const std::string& replacedProject);
    // The project file behind a project: the file a reserve copy was opened
    // in place of, else its own.
    std::string ProjectFileOf(const CDovereduDoc& doc) const;
    // A project whose file is a reserve copy in the backup folder is never
    // saved there: the next rotation would rename or delete it.
    bool SavesElsewhere(const CDovereduDoc& doc) const;
    // Where "Opslaan als" proposes to put such a project.
    QString SaveSuggestion(const CDovereduDoc& doc) const;
    void WindowActivated(QMdiSubWindow* sub);
    // The commands of this view go to the router in front of the others.
    void UseViewCommands(CDovereduView* view);
    void ShowRecentFiles();

    CMainFrame& frame;
    CCommandHandlers handlers;
    CRecentFileList recent;
    int untitled = 0;
    CDovereduView* commandView = nullptr;
};
