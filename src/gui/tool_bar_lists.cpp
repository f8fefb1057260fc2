#include "gui/tool_bar_lists.h"

#include <QAbstractItemView>
#include <algorithm>

CToolBarList::CToolBarList(int width, int dropDownHeight, QWidget* parent)
    : QComboBox(parent)
    , dropDownHeight(dropDownHeight)
{
    setFixedWidth(width);
    const int row = std::max(1, fontMetrics().height() + 4);
    setMaxVisibleItems(std::max(1, dropDownHeight / row));
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index == shown)
            return;
        shown = index;
        emit Picked(index);
    });
}

void CToolBarList::Show(const QStringList& entries, int selection)
{
    const QSignalBlocker block(this);
    clear();
    addItems(entries);
    shown = entries.isEmpty() ? -1 : std::clamp(selection, 0, static_cast<int>(entries.size()) - 1);
    setCurrentIndex(shown);
    setFocusPolicy(entries.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
}

CSheetCombo::CSheetCombo(QWidget* parent)
    : CToolBarList(kWidth, kDropDownHeight, parent)
{
    setObjectName(QStringLiteral("sheetList"));
}

CLayerCombo::CLayerCombo(QWidget* parent)
    : CToolBarList(kWidth, kDropDownHeight, parent)
{
    setObjectName(QStringLiteral("layerList"));
}
