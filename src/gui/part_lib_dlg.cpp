#include "gui/part_lib_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "gui/dialog_buttons.h"
#include "qt/qt_canvas.h"
#include "qt/qt_text.h"
#include "symbols/symbol_preview.h"

namespace fs = std::filesystem;

namespace {

constexpr int kGroupRole = Qt::UserRole;
constexpr int kSymbolRole = Qt::UserRole + 1;

// The symbol chosen last in this run of the program.
fs::path& LastChosen()
{
    static fs::path last;
    return last;
}

} // namespace

CSymbolPreviewWidget::CSymbolPreviewWidget(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(320, 220);
}

void CSymbolPreviewWidget::SetSymbol(std::optional<std::vector<CSym>> records)
{
    symbol = std::move(records);
    update();
}

void CSymbolPreviewWidget::SetMessage(const QString& text)
{
    message = text;
    update();
}

void CSymbolPreviewWidget::paintEvent(QPaintEvent*)
{
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CQtCanvas canvas(painter);
        if (symbol)
            DrawSymbolPreview(canvas, *symbol, width(), height());
        else
            ErasePreview(canvas, width(), height());
        if (!message.isEmpty()) {
            painter.setPen(Qt::black);
            painter.drawText(image.rect().adjusted(10, 10, -10, -10),
                Qt::AlignCenter | Qt::TextWordWrap, message);
        }
    }
    QPainter(this).drawImage(0, 0, image);
}

CPartLib::CPartLib(const fs::path& root, const fs::path& initial, QWidget* parent)
    : QDialog(parent)
    , libraryRoot(root)
{
    setWindowTitle(QStringLiteral("Plaats symbolen"));
    search = new QLineEdit;
    search->setClearButtonEnabled(true);
    groupList = new QListWidget;
    symbolList = new QListWidget;
    preview = new CSymbolPreviewWidget;
    auto* buttons = OkCancelButtons(this);
    ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);

    auto* searchLabel = new QLabel(QStringLiteral("Zoeken:"));
    searchLabel->setBuddy(search);
    auto* layout = new QGridLayout(this);
    layout->addWidget(searchLabel, 0, 0);
    layout->addWidget(search, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("Groepen")), 2, 0);
    layout->addWidget(groupList, 3, 0);
    layout->addWidget(new QLabel(QStringLiteral("Symbolen")), 4, 0);
    layout->addWidget(symbolList, 5, 0);
    layout->addWidget(preview, 0, 1, 6, 1);
    layout->addWidget(buttons, 6, 0, 1, 2);
    // The search lists "group/name": the lists get as much room as the preview.
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 2);
    layout->setRowStretch(5, 3);
    resize(900, 520);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    groups = ListSymbolGroups(libraryRoot);
    index = CSymbolIndex(groups);
    QApplication::restoreOverrideCursor();
    for (const CSymbolGroup& g : groups)
        groupList->addItem(FromUtf8(g.name));
    if (index.Entries().empty()) {
        preview->SetMessage(QString::fromUtf8(kMsgNoSymbols.data(), kMsgNoSymbols.size())
                                .arg(FromUtf8(libraryRoot.string())));
    }

    connect(groupList, &QListWidget::currentRowChanged, this, &CPartLib::GroupChosen);
    connect(symbolList, &QListWidget::currentRowChanged, this, &CPartLib::SymbolChosen);
    connect(symbolList, &QListWidget::itemActivated, this, [this] {
        if (!chosenPath.empty())
            accept();
    });
    connect(search, &QLineEdit::textChanged, this, &CPartLib::SearchChanged);
    search->installEventFilter(this);

    // Open on the symbol chosen last, in its group.
    int groupRow = groups.empty() ? -1 : 0;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (!initial.empty() && groups[g].folder == initial.parent_path())
            groupRow = static_cast<int>(g);
    }
    groupList->setCurrentRow(groupRow);
    for (int row = 0; row < symbolList->count(); ++row) {
        const auto& group = groups[static_cast<size_t>(groupRow)];
        if (group.symbols[static_cast<size_t>(row)].file == initial)
            symbolList->setCurrentRow(row);
    }
    search->setFocus();
}

void CPartLib::AddSymbol(int group, int symbol, const QString& label)
{
    auto* item = new QListWidgetItem(label, symbolList);
    item->setData(kGroupRole, group);
    item->setData(kSymbolRole, symbol);
}

void CPartLib::Choose(const fs::path& file)
{
    chosenPath = file;
    ok->setEnabled(!chosenPath.empty());
    preview->SetSymbol(chosenPath.empty() ? std::nullopt : ReadSymbolForPreview(chosenPath));
}

void CPartLib::GroupChosen(int row)
{
    if (row < 0 || row >= static_cast<int>(groups.size()))
        return;
    if (!search->text().isEmpty()) {
        // Choosing a group ends the search.
        const QSignalBlocker block(search);
        search->clear();
    }
    shownGroup = row;
    const QSignalBlocker block(symbolList);
    symbolList->clear();
    const CSymbolGroup& group = groups[static_cast<size_t>(row)];
    for (size_t s = 0; s < group.symbols.size(); ++s)
        AddSymbol(row, static_cast<int>(s), FromUtf8(group.symbols[s].name));
    // A group without symbols chooses none: OK may not place a symbol that
    // is no longer shown.
    if (symbolList->count() == 0) {
        Choose({});
        return;
    }
    symbolList->setCurrentRow(0);
    SymbolChosen(0);
}

void CPartLib::SymbolChosen(int row)
{
    QListWidgetItem* item = row >= 0 ? symbolList->item(row) : nullptr;
    if (item == nullptr) {
        Choose({});
        return;
    }
    const auto g = static_cast<size_t>(item->data(kGroupRole).toInt());
    const auto s = static_cast<size_t>(item->data(kSymbolRole).toInt());
    Choose(groups[g].symbols[s].file);
}

void CPartLib::SearchChanged(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        // Back to the groups, on the group shown before.
        const int row = shownGroup;
        shownGroup = -1;
        const QSignalBlocker block(groupList);
        groupList->setCurrentRow(row);
        if (row >= 0)
            GroupChosen(row);
        else
            Choose({});
        return;
    }
    {
        const QSignalBlocker block(groupList);
        groupList->setCurrentRow(-1);
    }
    const QSignalBlocker block(symbolList);
    symbolList->clear();
    for (const CSymbolIndex::CEntry* e : index.Find(text.toStdString())) {
        const CSymbolGroup& group = groups[static_cast<size_t>(e->group)];
        AddSymbol(e->group, e->symbol,
            FromUtf8(group.name + "/" + group.symbols[static_cast<size_t>(e->symbol)].name));
    }
    if (symbolList->count() == 0) {
        Choose({});
        return;
    }
    symbolList->setCurrentRow(0);
    SymbolChosen(0);
}

bool CPartLib::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == search && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Down && symbolList->count() > 0) {
            symbolList->setFocus();
            if (symbolList->currentRow() < 0)
                symbolList->setCurrentRow(0);
            return true;
        }
        if (key->key() == Qt::Key_Escape && !search->text().isEmpty()) {
            search->clear();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<fs::path> CPartLib::Ask(const fs::path& libraryRoot, QWidget* parent)
{
    CPartLib dialog(libraryRoot, LastChosen(), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().empty())
        return std::nullopt;
    LastChosen() = dialog.ChosenPath();
    return dialog.ChosenPath();
}
