#include "gui/print_commands.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QObject>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "app/command_router.h"
#include "app/command_table.h"
#include "app/print_plan.h"
#include "document/document.h"
#include "gui/main_frame.h"
#include "gui/print_job_dlg.h"
#include "gui/printer_output.h"
#include "gui/project_windows.h"
#include "qt/print_output.h"

namespace {

// Owns the handlers and the printer settings, and is owned by the window.
// It does not take itself out of the router: the router goes with the
// window, before its children.
class CPrintCommandTarget : public QObject {
public:
    CPrintCommandTarget(CMainFrame& f, CProjectWindows& p, std::function<bool()> printerCheck)
        : QObject(&f)
        , frame(f)
        , projects(p)
        , hasPrinter(printerCheck ? std::move(printerCheck) : SystemHasPrinter)
    {
        const auto withSheets = [this] {
            return CCommandState {ActiveDocument() != nullptr, false};
        };
        handlers.On(
            Cmd::Print, [this] { PrintProject(); }, withSheets);
        handlers.On(Cmd::PrintSheet, [this] { PrintActiveSheet(); });
        handlers.On(
            Cmd::PrintSetup, [this] { SetUpPrinter(); }, withSheets);
        frame.Router().AddTarget(handlers);
    }

private:
    // The active project when it has a sheet to print.
    CDovereduDoc* ActiveDocument() const
    {
        CChildFrame* window = projects.Active();
        return window != nullptr && window->Document().HasSheets() ? &window->Document() : nullptr;
    }

    // Made when first needed: asking for printers can take a while.
    QPrinter& Printer()
    {
        if (!printer)
            printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return *printer;
    }

    void PrintProject()
    {
        CDovereduDoc* doc = ActiveDocument();
        if (doc == nullptr)
            return;
        CPrintJobDlg dialog(*doc, Printer(), PrintOptionsFrom(frame.Settings()), &frame);
        dialog.offerFile = !hasPrinter();
        dialog.exec();
    }

    void PrintActiveSheet()
    {
        CDovereduDoc* doc = ActiveDocument();
        if (doc == nullptr)
            return;
        const CPrintOptions options = PrintOptionsFrom(frame.Settings());
        const auto jobs = PlanPrintJobs(*doc, {doc->activeSheet}, options.autoRotate);
        if (jobs.empty())
            return;
        if (!hasPrinter()) {
            const QString path = QString::fromStdString(
                PrintFilePath(*doc, jobs.front(), frame.Settings().projectsFolder).string());
            if (auto error = WritePrintPdf(path, *doc, jobs, Printer().pageLayout(), options)) {
                QMessageBox::warning(&frame, QCoreApplication::applicationName(), *error);
                return;
            }
            frame.SetPaneText(0, QStringLiteral("Afgedrukt naar %1").arg(path));
            return;
        }
        // The default printer, even when the last job went to another one
        // or to a file.
        QPrinter& p = Printer();
        QString name = QPrinterInfo::defaultPrinterName();
        if (name.isEmpty() && !QPrinterInfo::availablePrinterNames().isEmpty())
            name = QPrinterInfo::availablePrinterNames().front();
        p.setOutputFileName({});
        if (!name.isEmpty())
            p.setPrinterName(name);
        if (auto error = PrintJobs(p, *doc, jobs, options))
            QMessageBox::warning(&frame, QCoreApplication::applicationName(), *error);
    }

    void SetUpPrinter()
    {
        QPageSetupDialog dialog(&Printer(), &frame);
        dialog.exec();
    }

    CMainFrame& frame;
    CProjectWindows& projects;
    std::function<bool()> hasPrinter;
    std::unique_ptr<QPrinter> printer;
    CCommandHandlers handlers;
};

} // namespace

void RegisterPrintCommands(
    CMainFrame& frame, CProjectWindows& projects, std::function<bool()> hasPrinter)
{
    new CPrintCommandTarget(frame, projects, std::move(hasPrinter));
}
