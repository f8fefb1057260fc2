// The stroke-font file, read and then used to build a text of every
// character code, which walks each code's range of entries.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model/record_list.h"
#include "model/stroke_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDovereduFont font;
    if (!font.Load(WriteInput(CDovereduFont::kFileName, data, size).string()))
        return 0;
    std::string text;
    for (int code = 1; code < CDovereduFont::kCodeCount; ++code)
        text.push_back(static_cast<char>(code));
    font.SetAngle(30);
    CRecordList list;
    (void)font.BuildText(text, {1000, 2000}, font.Size(), list);
    return 0;
}
