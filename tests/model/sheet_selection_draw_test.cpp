// The marks of a selection on random sheets, against the calls the drawing
// made before it learnt to pass over unselected records eight at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "model/pen_table.h"
#include "model/sheet.h"
#include "support/recording_canvas.h"

namespace {

// FNV-1a over every call and a separator: the reference keeps 64 bits of
// each drawing, not the thousands of calls.
uint64_t Fingerprint(const std::vector<std::string>& calls)
{
    uint64_t h = 14695981039346656037ull;
    for (const std::string& call : calls) {
        for (const char ch : call + '\n') {
            h ^= static_cast<uint8_t>(ch);
            h *= 1099511628211ull;
        }
    }
    return h;
}

// A sheet of `count` random records on every layer, with pens, junctions,
// figures running across layers, points beyond the view, a few hidden
// layers, and selections in runs and alone.
std::unique_ptr<CSheet> RandomSheet(uint32_t seed, int count)
{
    std::mt19937 random(seed);
    auto pick
        = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    s->zoom = pick(0, 1) ? 100 : 37;
    s->zoomAtLastDraw = s->zoom;
    s->fitMode = 0;
    for (int i = 0; i < count; ++i) {
        const int layer = pick(0, 15);
        const int x = pick(-5000, 70000);
        const int y = pick(-5000, 52000);
        if (pick(0, 19) == 0)
            s->Append(CETREC::Junction(x, y, layer));
        else
            s->Append(CETREC::Make(x, y, layer, pick(0, 3) == 0 ? 0 : pick(1, 7), pick(0, 3)));
    }
    for (int k = 0; k < 3; ++k)
        s->layers.SetVisible(pick(0, 15), 0);
    for (int i = 1; i < s->recordCount;) {
        const int run = pick(1, 12);
        const bool on = pick(0, 2) == 0;
        for (int k = 0; k < run && i < s->recordCount; ++k, ++i) {
            if (on) {
                s->selectionFlags[i] = 1;
                ++s->selectedCount;
            }
        }
    }
    return s;
}

} // namespace

TEST(DrawSelection, MakesTheSameCallsAsBeforeOnRandomSheets)
{
    // (seed, records, mode) -> fingerprint of the calls.
    const struct {
        uint32_t seed;
        int records;
        int mode;
        uint64_t fingerprint;
    } cases[] = {
        {1, 50, CSheet::kSelectionHighlight, 0xc0e12ff5bf066d3dull},
        {2, 200, CSheet::kSelectionHighlight, 0x6bd8f7a5bda3a074ull},
        {3, 1000, CSheet::kSelectionHighlight, 0xc582b0e00dc2874full},
        {4, 1000, CSheet::kSelectionNormal, 0xc0544cc02f6e9a42ull},
        {5, 3000, CSheet::kSelectionInvert, 0x9f42f9b3d91d5b86ull},
        {6, 7, CSheet::kSelectionHighlight, 0xda71690fa848183full},
        {7, 5000, CSheet::kSelectionRestore, 0x1c76aee6a0770a08ull},
    };
    const bool print = std::getenv("RIDIZAV_PRINT_FINGERPRINTS") != nullptr;
    for (const auto& c : cases) {
        auto s = RandomSheet(c.seed, c.records);
        CPenTable pens;
        pens.Rebuild(s->penWidths, s->layerColours, s->highlightColours, s->zoom);
        CRecordingCanvas dc;
        s->DrawSelection(dc, pens, c.mode);
        EXPECT_GT(dc.calls.size(), 4u) << c.seed;
        const uint64_t f = Fingerprint(dc.calls);
        if (print)
            std::printf("seed %u: 0x%016llxull\n", c.seed, static_cast<unsigned long long>(f));
        else
            EXPECT_EQ(f, c.fingerprint) << c.seed;
    }
}
