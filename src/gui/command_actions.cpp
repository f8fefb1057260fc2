#include "gui/command_actions.h"

#include <QAction>

#include "app/command_router.h"
#include "app/command_table.h"
#include "qt/qt_text.h"

namespace {

QAction* MakeAction(int id, const CCommandRouter& router, QObject* parent, const QString& text)
{
    const CCommandInfo* info = FindCommand(id);
    auto* action = new QAction(text, parent);
    action->setProperty(kCommandIdProperty, id);
    if (info) {
        action->setStatusTip(FromUtf8(info->prompt));
        action->setToolTip(FromUtf8(WithoutKey(info->toolTip)));
    }
    action->setEnabled(false);
    const CCommandRouter* r = &router;
    QObject::connect(action, &QAction::triggered, action, [r, id] { r->Execute(id); });
    return action;
}

} // namespace

QAction* MakeMenuAction(
    int id, const CCommandRouter& router, QObject* parent, std::string_view caption)
{
    const CCommandInfo* info = FindCommand(id);
    const std::string_view text = !caption.empty() ? caption : info ? info->menuText : "";
    return MakeAction(id, router, parent, FromUtf8(text));
}

QAction* MakeButtonAction(int id, const CCommandRouter& router, QObject* parent)
{
    const CCommandInfo* info = FindCommand(id);
    QAction* action
        = MakeAction(id, router, parent, info ? FromUtf8(WithoutKey(info->toolTip)) : QString());
    if (info && !info->icon.empty())
        action->setIcon(CommandIcon(info->icon));
    return action;
}

int CommandIdOf(const QAction* action)
{
    return action ? action->property(kCommandIdProperty).toInt() : 0;
}

void RefreshAction(QAction* action, const CCommandRouter& router)
{
    const CCommandState state = router.Update(CommandIdOf(action));
    action->setEnabled(state.enabled);
    if (state.checked) {
        action->setCheckable(true);
        action->setChecked(true);
    } else {
        action->setChecked(false);
        action->setCheckable(false);
    }
}

// The images are compiled into the program, so none can go missing. A
// resource in a static library has to be registered by hand.
static void RegisterIcons()
{
    Q_INIT_RESOURCE(icons);
}

QIcon CommandIcon(std::string_view name)
{
    static const bool registered = (RegisterIcons(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/icons/") + FromUtf8(name) + QStringLiteral(".svg"));
}
