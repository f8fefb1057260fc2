// The commands on the stroke text that follows the pointer: "Aanpassen...",
// "Verkleinen", "Vergroten", "Laagkeuze...", "Spiegelschrift",
// "Penkeuze..." and "Kantelen". They are offered only while the text
// follows the pointer in the text tool.
#include "app/command_table.h"
#include "app/settings.h"
#include "model/sheet.h"
#include "view/command_conditions.h"
#include "view/tools/stroke_text_tool.h"
#include "view/view_controller.h"

void CViewController::RegisterTextCommands()
{
    const CCondition following = InTool(ToolMode::Text) && AtStep(Step::Placing);
    const auto enabledIf = [this](CCondition enabled) {
        return [this, enabled = std::move(enabled)] { return CCommandState {enabled(doc), false}; };
    };
    const auto enabledWhile = [this, following](auto sizeAllows) {
        return [this, following, sizeAllows] {
            return CCommandState {following(doc) && sizeAllows(settings.strokeFontSize), false};
        };
    };

    handlers.On(
        Cmd::TextAdjust, [this] { PlaceText(*this); }, enabledIf(following));
    handlers.On(
        Cmd::TextSmaller, [this] { ResizeText(*this, -1); },
        enabledWhile([](int size) { return size > kMinStrokeFontSize; }));
    handlers.On(
        Cmd::TextBigger, [this] { ResizeText(*this, +1); },
        enabledWhile([](int size) { return size < kMaxStrokeFontSize; }));
    handlers.On(
        Cmd::TextLayer, [this] { ChooseTextLayer(*this); }, enabledIf(following));
    handlers.On(
        Cmd::TextMirror, [this] { MirrorText(*this); }, enabledIf(following));
    handlers.On(
        Cmd::TextPen, [this] { ChooseTextPen(*this); }, enabledIf(following));
    handlers.On(
        Cmd::TextRotate, [this] { TurnText(*this); }, enabledIf(following));
}
