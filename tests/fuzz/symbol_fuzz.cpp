// A symbol file (".SYM"), read and put into the placement buffer at the
// cursor as placing a symbol from the library does.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "symbols/symbol_file.h"

namespace {

// Placing may refuse with a message; the answer does not matter here.
class CSilentUi : public CUiServices {
public:
    Answer MessageBox(std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, std::string_view) override { }
    void Invalidate() override { }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSheet sheet;
    sheet.AddFrame(0, 0, 420000, 297000);
    CSilentUi ui;
    (void)LoadSymbolForPlacement(sheet, WriteInput("fuzz.SYM", data, size), ui);
    return 0;
}
