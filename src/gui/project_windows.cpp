#include "gui/project_windows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QVBoxLayout>

#include "app/command_table.h"
#include "document/backup.h"
#include "document/dir.h"
#include "document/document.h"
#include "gui/drawing_view.h"
#include "gui/main_frame.h"
#include "gui/message_box.h"
#include "gui/project_info_dlg.h"
#include "gui/reserve_file_dlg.h"
#include "gui/startup_windows.h"
#include "model/text_encoding.h"
#include "qt/file_args.h"
#include "view/view_controller.h"

namespace {

// Project files end in ".ETT" in any case.
const QString kProjectFilter = QStringLiteral("Vorel Ridizav Project (*.[eE][tT][tT])");

QString Caption()
{
    return QCoreApplication::applicationName();
}

bool SamePath(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// Where the reserve copies of a project file (or of the project of a
// window) are, by the settings.
CBackupPlace PlaceOf(const CSettings& s, const std::string& pathName, const std::string& title = {})
{
    return BackupPlaceOf(s.backupFolder, s.defaults.backup, pathName, title, 0);
}

} // namespace

CChildFrame::CChildFrame(std::unique_ptr<CDovereduDoc> document, CMainFrame* frame, QWidget* parent)
    : QWidget(parent)
    , doc(std::move(document))
{
    setAttribute(Qt::WA_DeleteOnClose);
    view = new CDovereduView(*doc, frame, this);
    connect(view, &CDovereduView::documentChanged, this, &CChildFrame::UpdateTitle);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    UpdateTitle();
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::UpdateTitle()
{
    setWindowTitle(QString::fromStdString(doc->title) + QStringLiteral("[*]"));
    setWindowModified(doc->modified);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (canClose && !canClose(*this)) {
        event->ignore();
        return;
    }
    doc->RefreshSheetLists(false);
    QWidget::closeEvent(event);
}

CProjectWindows::CProjectWindows(CMainFrame& frame)
    : QObject(&frame)
    , frame(frame)
{
    LoadRecentFiles(recent);
    ShowRecentFiles();
    RegisterCommands();
    frame.Router().AddTarget(handlers);
    frame.setAcceptDrops(true);
    frame.installEventFilter(this);
    connect(
        frame.MdiArea(), &QMdiArea::subWindowActivated, this, &CProjectWindows::WindowActivated);
    connect(&frame, &CMainFrame::RecentFileChosen, this, [this](int index) {
        const auto& entries = recent.Entries();
        if (index >= 0 && index < static_cast<int>(entries.size()))
            OpenFile(FileNameString(entries[static_cast<size_t>(index)]));
    });
    // The lists have already changed the document; the view shows it, with
    // the pointer back on the cursor.
    const auto picked = [this](int) {
        CChildFrame* w = Active();
        if (!w || !w->Document().HasSheets())
            return;
        w->View().Redraw();
        w->View().Controller().WarpPointer();
    };
    // The text bar's picks go to the active view, which takes the keyboard
    // back.
    connect(&frame, &CMainFrame::FontPicked, this, [this](int index) {
        if (CChildFrame* w = Active()) {
            w->View().Controller().PickFont(index);
            this->frame.ShowDocumentLists(w->Document());
        }
    });
    connect(&frame, &CMainFrame::SizePicked, this, [this](int size) {
        if (CChildFrame* w = Active()) {
            w->View().Controller().PickTextHeight(size);
            this->frame.ShowDocumentLists(w->Document());
        }
    });
    connect(&frame, &CMainFrame::SheetPicking, this, [this](int) { ActiveFinished(); });
    connect(&frame, &CMainFrame::SheetPicked, this, picked);
    connect(&frame, &CMainFrame::LayerPicked, this, picked);
    // The configuration may name another stroke-font file: every open sheet
    // takes it (read once for all of them), and the views show it.
    connect(&frame, &CMainFrame::ConfigurationChanged, this, [this] {
        for (CChildFrame* w : Windows()) {
            for (const auto& sheet : w->Document().sheets)
                sheet->ReloadFont();
            w->View().Redraw();
        }
    });
    frame.canClose = [this] { return CloseAll(); };
}

CProjectWindows::~CProjectWindows()
{
    UseViewCommands(nullptr);
    SaveRecentFiles(recent);
    frame.Router().RemoveTarget(handlers);
}

void CProjectWindows::RegisterCommands()
{
    const auto hasSheets = [this] {
        CChildFrame* w = Active();
        return CCommandState {w && w->Document().HasSheets(), false};
    };
    const auto hasProject = [this] { return CCommandState {Active() != nullptr, false}; };
    handlers.On(Cmd::FileNew, [this] { NewProject(); });
    handlers.On(Cmd::FileOpen, [this] {
        const QString path = QFileDialog::getOpenFileName(&frame, QStringLiteral("Open"),
            QString::fromStdString(frame.Settings().projectsFolder), kProjectFilter);
        if (!path.isEmpty())
            OpenFile(FileNameString(DialogFileBytes(path)));
    });
    handlers.On(
        Cmd::FileClose,
        [this] {
            if (QMdiSubWindow* sub = frame.MdiArea()->activeSubWindow())
                sub->close();
        },
        hasProject);
    handlers.On(
        Cmd::FileSave, [this] { SaveActive(); }, hasSheets);
    handlers.On(
        Cmd::FileSaveAs, [this] { SaveActiveAs(); }, hasSheets);
    handlers.On(
        Cmd::ProjectInfo, [this] { ShowProjectInfo(); }, hasProject);
    handlers.On(Cmd::OpenBackup, [this] { OpenReserveFile(); });
    handlers.On(Cmd::TipOfTheDay, [this] {
        auto* tips = new CTipDlg(&frame);
        tips->setAttribute(Qt::WA_DeleteOnClose);
        tips->show();
    });
    handlers.On(
        Cmd::AddSheet,
        [this] {
            if (CChildFrame* w = Active()) {
                w->Document().AddDefaultSheet();
                frame.ShowDocumentLists(w->Document());
                w->UpdateTitle();
                w->View().Redraw();
            }
        },
        hasProject);
}

CChildFrame* CProjectWindows::Active() const
{
    QMdiSubWindow* sub = frame.MdiArea()->activeSubWindow();
    if (!sub) {
        const auto list = frame.MdiArea()->subWindowList();
        if (list.size() == 1)
            sub = list.front();
    }
    return sub ? qobject_cast<CChildFrame*>(sub->widget()) : nullptr;
}

CChildFrame* CProjectWindows::ActiveFinished() const
{
    CChildFrame* w = Active();
    if (w)
        w->View().Controller().FinishInteraction();
    return w;
}

std::vector<CChildFrame*> CProjectWindows::Windows() const
{
    std::vector<CChildFrame*> out;
    for (QMdiSubWindow* sub : frame.MdiArea()->subWindowList()) {
        if (auto* w = qobject_cast<CChildFrame*>(sub->widget()))
            out.push_back(w);
    }
    return out;
}

CChildFrame* CProjectWindows::AddWindow(std::unique_ptr<CDovereduDoc> doc)
{
    CDovereduDoc* document = doc.get();
    auto* window = new CChildFrame(std::move(doc), &frame);
    window->canClose = [this](CChildFrame& w) { return AskToSave(w); };
    CDovereduView* view = &window->View();
    connect(view, &CDovereduView::closing, this, [this, view] {
        if (commandView == view)
            UseViewCommands(nullptr);
    });
    window->View().drawn = [this] {
        if (drawn)
            drawn();
    };
    document->applyConfiguredGrids
        = [this](CGridArr& grids) { ApplyGridsToSheet(frame.Settings(), grids); };
    QMdiSubWindow* sub = frame.AddProjectWindow(window);
    connect(sub, &QObject::destroyed, this, [this] {
        if (frame.MdiArea()->subWindowList().isEmpty()) {
            frame.AttachDocument(nullptr);
            frame.SetProjectOpen(false);
        }
        frame.UpdateCommandUi();
    });
    frame.SetProjectOpen(true);
    document->RefreshSheetLists(document->HasSheets());
    WindowActivated(sub);
    window->View().setFocus();
    return window;
}

void CProjectWindows::WindowActivated(QMdiSubWindow* sub)
{
    auto* window = sub ? qobject_cast<CChildFrame*>(sub->widget()) : nullptr;
    if (!window)
        return;
    UseViewCommands(&window->View());
    frame.AttachDocument(&window->Document());
    frame.ShowDocumentLists(window->Document());
    frame.UpdateCommandUi();
}

void CProjectWindows::UseViewCommands(CDovereduView* view)
{
    if (commandView)
        frame.Router().RemoveTarget(commandView->Controller().Handlers());
    commandView = view;
    if (commandView)
        frame.Router().AddTarget(commandView->Controller().Handlers());
}

void CProjectWindows::NewProject()
{
    auto doc = std::make_unique<CDovereduDoc>();
    doc->ResetContents();
    doc->title = "Zavoveze" + std::to_string(++untitled);
    CChildFrame* window = AddWindow(std::move(doc));
    // A project without sheets asks for its first sheet at once.
    if (askForFirstSheet) {
        askForFirstSheet();
        return;
    }
    window->Document().AddDefaultSheet();
    window->Document().modified = false;
    frame.ShowDocumentLists(window->Document());
    window->UpdateTitle();
    window->View().Redraw();
}

bool CProjectWindows::OpenFile(const QString& path)
{
    for (CChildFrame* w : Windows()) {
        if (!w->Document().pathName.empty()
            && SamePath(QString::fromStdString(w->Document().pathName), path)) {
            frame.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
            return true;
        }
    }
    // A reserve copy newer than the file, and other than it, is work the
    // program lost when it ended without closing the project.
    const std::string file = FileNameBytes(QFileInfo(path).absoluteFilePath());
    if (const auto copy = NewerCopyOf(file, PlaceOf(frame.Settings(), file))) {
        const std::string question = "Er is een reservekopie van " + Utf8ToCp1252(file)
            + " die nieuwer is dan het bestand. Reservekopie openen?";
        const auto answer = ShowMessageBox(
            &frame, question, CUiServices::Buttons::YesNo, CUiServices::Icon::Question);
        if (answer == CUiServices::Answer::Yes) {
            if (auto restored = ReadReserveCopy(*copy, file)) {
                recent.Add(file);
                ShowRecentFiles();
                AddWindow(std::move(restored));
                return true;
            }
        }
    }
    auto doc = std::make_unique<CDovereduDoc>();
    if (auto error = doc->Open(file)) {
        QMessageBox::warning(&frame, Caption(), QString::fromStdString(*error));
        recent.Remove(FileNameBytes(path));
        recent.Remove(FileNameBytes(QFileInfo(path).absoluteFilePath()));
        ShowRecentFiles();
        return false;
    }
    recent.Add(doc->pathName);
    ShowRecentFiles();
    CChildFrame* window = AddWindow(std::move(doc));
    if (!window->Document().HasSheets() && askForFirstSheet)
        askForFirstSheet();
    return true;
}

std::unique_ptr<CDovereduDoc> CProjectWindows::ReadReserveCopy(
    const std::string& copy, const std::string& replacedProject)
{
    auto doc = std::make_unique<CDovereduDoc>();
    if (doc->Open(copy)) {
        ShowMessageBox(&frame, "Fout in backup...", CUiServices::Buttons::Ok);
        return nullptr;
    }
    const auto name
        = ParseCopyName(QFileInfo(QString::fromStdString(copy)).fileName().toStdString());
    if (name && !replacedProject.empty()
        && SameTitle(name->title,
            CDir::TitleOf(
                QFileInfo(QString::fromStdString(replacedProject)).fileName().toStdString())))
        doc->replacedProject = replacedProject;
    FindPicturesBeside(*doc, doc->replacedProject);
    // The work is in no project file yet: closing asks to save it.
    doc->modified = true;
    return doc;
}

std::string CProjectWindows::ProjectFileOf(const CDovereduDoc& doc) const
{
    if (!doc.replacedProject.empty())
        return doc.replacedProject;
    return SavesElsewhere(doc) ? std::string() : doc.pathName;
}

bool CProjectWindows::SavesElsewhere(const CDovereduDoc& doc) const
{
    if (!doc.replacedProject.empty())
        return true;
    const QFileInfo file(QString::fromStdString(doc.pathName));
    if (doc.pathName.empty() || !ParseCopyName(file.fileName().toStdString()))
        return false;
    const CBackupPlace place = PlaceOf(frame.Settings(), doc.pathName);
    return QFileInfo(QString::fromStdString(place.folder)).canonicalFilePath()
        == file.canonicalPath();
}

QString CProjectWindows::SaveSuggestion(const CDovereduDoc& doc) const
{
    if (!doc.replacedProject.empty())
        return QString::fromStdString(doc.replacedProject);
    const auto name
        = ParseCopyName(QFileInfo(QString::fromStdString(doc.pathName)).fileName().toStdString());
    const QString title = QString::fromStdString(name ? name->title : CDir::TitleOf(doc.title));
    return QDir(QString::fromStdString(frame.Settings().projectsFolder))
        .filePath(title + QStringLiteral(".ETT"));
}

void CProjectWindows::OpenReserveFile()
{
    CChildFrame* active = Active();
    const CDovereduDoc* doc = active ? &active->Document() : nullptr;
    const std::string pathName = doc ? doc->pathName : std::string();
    const std::string project = doc ? ProjectFileOf(*doc) : std::string();
    const CBackupPlace place = PlaceOf(frame.Settings(), pathName);
    // A project never saved has no copies of its own name to pick from.
    const QString chosen = AskReserveFile(&frame, QString::fromStdString(place.folder),
        pathName.empty() ? std::string() : place.title);
    if (chosen.isEmpty())
        return;
    if (active && !AskToSave(*active))
        return;
    auto restored = ReadReserveCopy(FileNameBytes(QFileInfo(chosen).absoluteFilePath()), project);
    if (!restored)
        return;
    recent.Add(restored->replacedProject.empty() ? restored->pathName : restored->replacedProject);
    ShowRecentFiles();
    if (active) {
        active->canClose = nullptr;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(active->parentWidget()))
            sub->close();
    }
    AddWindow(std::move(restored));
}

QString CProjectWindows::AskSavePath(const QString& suggestion)
{
    QFileDialog dialog(&frame, QStringLiteral("Opslaan als"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(kProjectFilter);
    dialog.setDefaultSuffix(QStringLiteral("ETT"));
    const QFileInfo proposed(suggestion);
    if (proposed.isAbsolute()) {
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    } else {
        dialog.setDirectory(QString::fromStdString(frame.Settings().projectsFolder));
        dialog.selectFile(suggestion);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return FileNameString(DialogFileBytes(dialog.selectedFiles().front()));
}

bool CProjectWindows::SaveTo(CChildFrame& window, const QString& path)
{
    CDovereduDoc& doc = window.Document();
    if (auto error = doc.Save(FileNameBytes(QFileInfo(path).absoluteFilePath()))) {
        QMessageBox::warning(&frame, Caption(), QString::fromStdString(*error));
        return false;
    }
    recent.Add(doc.pathName);
    ShowRecentFiles();
    window.UpdateTitle();
    frame.UpdateCommandUi();
    return true;
}

bool CProjectWindows::SaveActive()
{
    CChildFrame* window = ActiveFinished();
    if (!window)
        return false;
    if (window->Document().pathName.empty() || SavesElsewhere(window->Document()))
        return SaveActiveAs();
    return SaveTo(*window, FileNameString(window->Document().pathName));
}

bool CProjectWindows::SaveActiveAs()
{
    CChildFrame* window = ActiveFinished();
    if (!window)
        return false;
    if (SavesElsewhere(window->Document())) {
        const QString path = AskSavePath(SaveSuggestion(window->Document()));
        return !path.isEmpty() && SaveTo(*window, path);
    }
    // The title without any folder or drive, keeping its extension.
    std::string title = window->Document().title;
    const auto cut = title.find_last_of("\\:/");
    if (cut != std::string::npos)
        title.erase(0, cut + 1);
    const QString path = AskSavePath(QString::fromStdString(title));
    return !path.isEmpty() && SaveTo(*window, path);
}

bool CProjectWindows::AskToSave(CChildFrame& window)
{
    CDovereduDoc& doc = window.Document();
    // A line being drawn is part of what the question is about.
    window.View().Controller().FinishInteraction();
    const CDovereduDoc::CloseQuestion question = doc.DecideClose();
    if (question == CDovereduDoc::CloseQuestion::None)
        return true;
    frame.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window.parentWidget()));
    const QString text = question == CDovereduDoc::CloseQuestion::SaveToPath
        ? QString::fromStdString(doc.pathName) + QStringLiteral("opslaan?")
        : QStringLiteral("Nieuw project opslaan?");
    const auto answer = QMessageBox::question(
        &frame, Caption(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    if (question == CDovereduDoc::CloseQuestion::SaveToPath && SavesElsewhere(doc)) {
        const QString path = AskSavePath(SaveSuggestion(doc));
        return !path.isEmpty() && SaveTo(window, path);
    }
    if (question == CDovereduDoc::CloseQuestion::SaveToPath)
        return SaveTo(window, FileNameString(doc.pathName));
    const QString path = AskSavePath(QStringLiteral("Nieuw project.ETT"));
    return !path.isEmpty() && SaveTo(window, path);
}

bool CProjectWindows::CloseAll()
{
    for (CChildFrame* w : Windows()) {
        if (!AskToSave(*w))
            return false;
    }
    for (CChildFrame* w : Windows()) {
        w->canClose = nullptr;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            sub->close();
    }
    SaveRecentFiles(recent);
    return true;
}

void CProjectWindows::ShowProjectInfo()
{
    CChildFrame* window = Active();
    if (!window)
        return;
    CProjectInfoDlg dialog(window->Document(), &frame);
    if (dialog.exec() == QDialog::Accepted)
        window->UpdateTitle();
}

void CProjectWindows::ShowRecentFiles()
{
    frame.SetRecentFiles(recent.Entries());
}

bool CProjectWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &frame && event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
    }
    if (watched == &frame && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        for (const QUrl& url : drop->mimeData()->urls()) {
            if (url.isLocalFile())
                OpenFile(url.toLocalFile());
        }
        drop->acceptProposedAction();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
