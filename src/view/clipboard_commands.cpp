// Cut, Copy and Paste through the system clipboard, and "Plakken op
// cursor". The clipboard holds the selection stream and, for other
// programs, a picture of the selection drawn only when one asks for it.
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/command_table.h"
#include "document/document.h"
#include "model/archive.h"
#include "model/sheet.h"
#include "platform/clipboard.h"
#include "view/command_conditions.h"
#include "view/tools/placement_tool.h"
#include "view/view_controller.h"

namespace {

constexpr std::string_view kMsgClipboardOpen = "Failed to open Clipboard!";
// The memory archive's name in its own messages.
constexpr const char* kClipboardName = "Clipboard";

// The picture of a copy: DrawMetafile of a sheet that holds only what it shows.
class CSheetPicture : public CClipboardPicture {
public:
    explicit CSheetPicture(std::unique_ptr<CSheet> sheet)
        : sheet(std::move(sheet))
    {
    }
    CSize Size() const override
    {
        const CRect& r = sheet->rubberRect;
        return {static_cast<int32_t>(std::abs(int64_t {r.right} - r.left) / 10),
            static_cast<int32_t>(std::abs(int64_t {r.bottom} - r.top) / 10)};
    }
    void Draw(CCanvas& dc) override { sheet->DrawMetafile(dc); }

private:
    std::unique_ptr<CSheet> sheet;
};

// The selection stream on the clipboard; nothing, and the user told why,
// when there is none.
std::optional<std::vector<uint8_t>> TakeStream(CUiServices& ui)
{
    CClipboard* clipboard = ui.Clipboard();
    if (!clipboard) {
        ui.MessageBox(kMsgClipboardOpen);
        return std::nullopt;
    }
    CClipboard::CTaken taken = clipboard->Take();
    if (taken.failure != CClipboard::Failure::None) {
        ui.MessageBox(taken.failure == CClipboard::Failure::NotOpened ? kMsgClipboardOpen
                                                                      : CSheet::kMsgClipboardData);
        return std::nullopt;
    }
    return std::move(taken.bytes);
}

} // namespace

void CViewController::RegisterClipboardCommands()
{
    // A selected picture alone copies nothing: pictures are not part of the stream.
    const CCondition copyable = SheetIs(
        [](const CSheet& s) { return s.selectedCount > 0 || s.texts.GetSelectedCount() > 0; });
    const auto enabledIf = [this](CCondition enabled) {
        return [this, enabled = std::move(enabled)] { return CCommandState {enabled(doc), false}; };
    };
    // The clipboard's state as last heard: asking the platform here could
    // hold up every menu for seconds.
    const auto pasteState = [this] {
        const CClipboard* clipboard = ui.Clipboard();
        return CCommandState {HasSheet() && clipboard && clipboard->HoldsStream(), false};
    };
    handlers.On(
        Cmd::Cut, [this] { CopyToClipboard(true); }, enabledIf(copyable));
    handlers.On(
        Cmd::Copy, [this] { CopyToClipboard(false); }, enabledIf(copyable));
    handlers.On(
        Cmd::Paste, [this] { PasteFromClipboard(); }, pasteState);
    handlers.On(
        Cmd::PasteAtCursor, [this] { PasteAtCursor(); }, pasteState);
}

void CViewController::CopyToClipboard(bool cut)
{
    FinishInteraction();
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    if (s.selectedCount <= 0 && s.texts.GetSelectedCount() <= 0)
        return;
    CArchive ar(kClipboardName);
    if (!s.WriteSelection(ar)) {
        ui.MessageBox(CSheet::kMsgOutOfRange);
        return;
    }
    CClipboard* clipboard = ui.Clipboard();
    if (!clipboard
        || !clipboard->Put(ar.TakeBytes(), std::make_unique<CSheetPicture>(s.PictureSheet()))) {
        ui.MessageBox(kMsgClipboardOpen);
        return;
    }
    if (!cut)
        return;

    // Cut deletes what it copied, once the clipboard has it: selected
    // pictures are not on the clipboard and stay.
    std::vector<int> pictures;
    for (int i = 0; i < s.pictures->GetSize(); ++i) {
        if (s.pictures->IsSelected(i)) {
            pictures.push_back(i);
            s.pictures->SetSelected(i, false);
        }
    }
    const bool deleted = s.DeleteSelection() != 0;
    for (int i : pictures)
        s.pictures->SetSelected(i, true);
    if (deleted)
        doc.MarkChanged();
    Redraw();
    ui.DocumentChanged();
}

void CViewController::PasteFromClipboard()
{
    FinishInteraction();
    if (!HasSheet())
        return;
    const std::optional<std::vector<uint8_t>> stream = TakeStream(ui);
    if (!stream)
        return;
    CArchive ar(std::span<const uint8_t>(*stream), kClipboardName);
    const CSheet::PasteResult result = Sheet().PasteSelection(ar);
    if (result == CSheet::PasteResult::Pasted) {
        // The sheet's own snapshot marks only the sheet.
        doc.MarkChanged();
        Redraw();
        ui.DocumentChanged();
        return;
    }
    if (const std::string_view message = CSheet::PasteMessage(result); !message.empty())
        ui.MessageBox(message);
}

void CViewController::PasteAtCursor()
{
    FinishInteraction();
    if (!HasSheet())
        return;
    const std::optional<std::vector<uint8_t>> stream = TakeStream(ui);
    if (!stream)
        return;
    // Copy placement keeps the selection; the stream goes into the buffer
    // it empties.
    SelectTool(ToolMode::CopyPlacement);
    CSheet& s = Sheet();
    CArchive ar(std::span<const uint8_t>(*stream), kClipboardName);
    const CSheet::PasteResult result = s.PasteIntoBuffer(ar);
    if (result != CSheet::PasteResult::Pasted || !StartPlacement(*this)) {
        SelectTool(ToolMode::Select);
        if (const std::string_view message = CSheet::PasteMessage(result); !message.empty())
            ui.MessageBox(message);
        return;
    }
    Redraw();
}
