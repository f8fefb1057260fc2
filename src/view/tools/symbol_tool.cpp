#include "view/tools/symbol_tool.h"

#include <filesystem>
#include <optional>
#include <string>

#include "app/settings.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "symbols/symbol_file.h"
#include "view/tools/placement_tool.h"
#include "view/tools/tool_context.h"
#include "view/view_dialogs.h"

void ChooseSymbol(CToolContext& ctx)
{
    const std::optional<std::filesystem::path> path
        = ctx.Dialogs().ChooseSymbol(ctx.Settings().symbolsFolder);
    if (!path) {
        ctx.SelectTool(ToolMode::Select);
        return;
    }
    CSheet& s = ctx.Sheet();
    if (!LoadSymbolForPlacement(s, *path, ctx.Ui())) {
        std::string text(kMsgSymbolUnreadable);
        text.replace(text.find("%1"), 2, path->filename().string());
        ctx.Ui().MessageBox(text);
        ctx.SelectTool(ToolMode::Select);
        return;
    }
    if (!StartPlacement(ctx))
        ctx.SelectTool(ToolMode::Select);
}
