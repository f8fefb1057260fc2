#include "gui/reserve_file_dlg.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace {

// The copies' names as a pattern of the dialog: "?" stands for the spaces
// (a space would split the pattern in two) and "[" is taken literally.
QString CopyPattern(const std::string& title)
{
    QString pattern;
    for (const QChar c : QString::fromStdString(title)) {
        if (c == QLatin1Char(' '))
            pattern += QLatin1Char('?');
        else if (c == QLatin1Char('[') || c == QLatin1Char('*') || c == QLatin1Char('?'))
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else
            pattern += c;
    }
    return (title.empty() ? QStringLiteral("*") : pattern) + QStringLiteral("?BAK?*.ETT");
}

// The column of the detail view that shows when a file was last written.
constexpr int kDateColumn = 3;

} // namespace

QString AskReserveFile(QWidget* parent, const QString& folder, const std::string& title)
{
    QFileDialog dialog(parent, QStringLiteral("Open reservebestand"));
    // The program's own dialog: its list is sorted by date below.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setDirectory(folder);
    dialog.setNameFilter(QStringLiteral("Reservekopie (%1)").arg(CopyPattern(title)));
    // The pattern is the program's business, not the user's.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QStringLiteral("ETT"));
    dialog.resize(760, 420);
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        list->sortByColumn(kDateColumn, Qt::DescendingOrder);
        // The whole date and time: they tell the copies apart.
        list->header()->setSectionResizeMode(kDateColumn, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}
