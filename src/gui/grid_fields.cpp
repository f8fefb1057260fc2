#include "gui/grid_fields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/settings.h"
#include "model/grid.h"
#include "model/number_text.h"

namespace {

QLineEdit* LengthField(const QString& name, int32_t micrometres)
{
    auto* edit = new QLineEdit(QString::fromStdString(MillimetreText(micrometres)));
    edit->setObjectName(name);
    return edit;
}

} // namespace

QGroupBox* MakeGridFields(int g, const CGrid& grid, CGridFields& c)
{
    const QString names[]
        = {QStringLiteral("Lijnen"), QStringLiteral("Symbolen"), QStringLiteral("Teksten")};
    const QString shown[]
        = {QStringLiteral("Onzichtbaar"), QStringLiteral("Punten"), QStringLiteral("Lijnen")};
    const QString n = QString::number(g);
    auto* box = new QGroupBox(names[g]);
    auto* form = new QGridLayout(box);
    c.spacingX = LengthField(QStringLiteral("spacingX") + n, grid.spacingX);
    c.spacingY = LengthField(QStringLiteral("spacingY") + n, grid.spacingY);
    c.snapX = LengthField(QStringLiteral("snapX") + n, grid.snapX);
    c.snapY = LengthField(QStringLiteral("snapY") + n, grid.snapY);
    c.snapOn = new QCheckBox(QStringLiteral("Op raster"));
    c.snapOn->setObjectName(QStringLiteral("snapOn") + n);
    c.snapOn->setChecked(grid.snapOn != 0);

    const auto row = [form](int r, QLineEdit* field) {
        form->addWidget(
            new QLabel(r % 3 == 0 ? QStringLiteral("X as") : QStringLiteral("Y as")), r, 0);
        form->addWidget(field, r, 1);
        form->addWidget(new QLabel(QStringLiteral("mm")), r, 2);
    };
    row(0, c.spacingX);
    row(1, c.spacingY);
    form->addWidget(c.snapOn, 2, 0, 1, 3);
    row(3, c.snapX);
    row(4, c.snapY);

    c.display = new QButtonGroup(box);
    auto* choices = new QVBoxLayout;
    for (int d = 0; d < 3; ++d) {
        auto* radio = new QRadioButton(shown[d]);
        radio->setObjectName(QStringLiteral("display%1_%2").arg(g).arg(d));
        c.display->addButton(radio, d);
        choices->addWidget(radio);
    }
    if (QAbstractButton* b = c.display->button(grid.display))
        b->setChecked(true);
    form->addLayout(choices, 0, 3, 2, 1);
    return box;
}

QLineEdit* TakeGridFields(const CGridFields& c, CGrid& grid)
{
    const std::pair<QLineEdit*, int32_t*> lengths[] = {{c.spacingX, &grid.spacingX},
        {c.spacingY, &grid.spacingY}, {c.snapX, &grid.snapX}, {c.snapY, &grid.snapY}};
    for (const auto& [field, value] : lengths) {
        const std::optional<int> um = MicrometresFromText(field->text().toStdString());
        if (!um)
            return field;
        *value = *um;
    }
    if (c.display->checkedId() >= 0)
        grid.display = c.display->checkedId();
    if (grid.display != 0)
        grid.lastDisplay = grid.display;
    grid.snapOn = c.snapOn->isChecked() ? 1 : 0;
    return nullptr;
}
