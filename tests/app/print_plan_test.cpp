#include "app/print_plan.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "document/document.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "support/recording_canvas.h"

namespace {

using Calls = std::vector<std::string>;

// A 400 x 270 mm sheet with a 100 mm line along its top edge and a junction
// dot half-way, everything moved by the pan `origin`.
std::unique_ptr<CSheet> PrintedSheet(CPoint origin)
{
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    s->sheetExtent = {0, 0, 400000, 270000};
    s->origin = origin;
    s->Append(CETREC::Make(origin.x, origin.y, 1, 0));
    s->Append(CETREC::Make(origin.x + 100000, origin.y, 1, 1));
    s->Append(CETREC::Junction(origin.x + 50000, origin.y, 1));
    return s;
}

Calls Drawn(const Calls& calls)
{
    Calls out;
    for (const std::string& c : calls) {
        if (c.starts_with("polyline") || c.starts_with("ellipse"))
            out.push_back(c);
    }
    return out;
}

void AddThreeSheets(CDovereduDoc& doc)
{
    const struct {
        const char* name;
        CRect extent;
    } sheets[] = {
        {"Blad 1", {0, 0, 400000, 270000}},
        {"Blad 2", {0, 0, 210000, 297000}},
        {"Schak\xe9l/A", {0, 0, 297000, 210000}},
    };
    for (const auto& s : sheets) {
        doc.sheets.push_back(std::make_unique<CSheet>());
        doc.sheets.back()->sheetName = s.name;
        doc.sheets.back()->sheetExtent = s.extent;
    }
}

} // namespace

TEST(PrintSheet, PagePositionsAtScaleAndFitted)
{
    // (page, pixels per inch, scale, fit, the line and the dot on the page)
    const struct {
        CPrintPage page;
        double scale;
        bool fit;
        Calls drawn;
    } cases[] = {
        // 600 / 25400 pixels per micrometre: 1 mm is 23.6 pixels, the
        // margin 23 pixels, the dot's radius 11.
        {{{4800, 3300}, 600}, 1.0, false, {"polyline 23,23 2385,23", "ellipse 1193 12 1215 34"}},
        {{{4800, 3300}, 600}, 0.5, false, {"polyline 11,11 1192,11", "ellipse 597 6 607 16"}},
        // Fitted: f = min(4800 / 402000, 3300 / 272000); the sheet's origin
        // at pixel (11, 11) whatever the scale says.
        {{{4800, 3300}, 600}, 3.0, true, {"polyline 11,11 1205,11", "ellipse 603 6 613 16"}},
        // Segments wholly beyond the page are left out.
        {{{5, 5}, 600}, 1.0, false, {}},
    };
    for (const auto& c : cases) {
        for (const CPoint origin : {CPoint {0, 0}, CPoint {-30000, 45000}}) {
            auto s = PrintedSheet(origin);
            CRecordingCanvas dc;
            PrintSheet(*s, dc, c.page, c.scale, c.fit);
            EXPECT_EQ(Drawn(dc.calls), c.drawn)
                << "scale " << c.scale << " fit " << c.fit << " origin " << origin.x;
        }
    }
}

TEST(PrintSheet, PrintColoursOrBlack)
{
    auto s = PrintedSheet({});
    s->printColours.fill(0x3344AA);
    s->printColours[0] = 0xFFFFFF;
    s->layerColours.fill(0x00FF00);
    // A filled square on layer 2 and a text on layer 1.
    s->Append(CETREC::Make(0, 0, 2, 0, 0, true));
    s->Append(CETREC::Make(10000, 0, 2, 1, 0, true));
    s->Append(CETREC::Make(10000, 10000, 2, 1, 0, true));
    s->Append(CETREC::Make(0, 0, 2, 1));
    s->texts.Add(std::make_unique<CText>(
        "T", CRect {10000, 10000, 20000, 20000}, CText::kDefaultAttributes));
    s->texts.At(0)->SetLayer(1);

    for (const bool black : {false, true}) {
        ModelDefaults().blackAndWhitePrinting = black;
        CRecordingCanvas dc;
        PrintSheet(*s, dc, {{4800, 3300}, 600}, 1.0, false);
        ModelDefaults().blackAndWhitePrinting = false;
        const std::string colour = black ? "0x000000" : "0x3344aa";
        // The first pen is that of the paper's layer, before anything is drawn.
        const Calls pens = dc.Only("pen");
        ASSERT_GT(pens.size(), 1u);
        for (size_t i = 1; i < pens.size(); ++i)
            EXPECT_NE(pens[i].find(colour), std::string::npos) << pens[i];
        const auto polygon = std::find_if(dc.calls.begin(), dc.calls.end(),
            [](const std::string& c) { return c.starts_with("polygon"); });
        ASSERT_NE(polygon, dc.calls.end());
        EXPECT_EQ(*std::prev(polygon), "brush solid " + colour);
        EXPECT_EQ(dc.Only("textcolour"), Calls {"textcolour " + colour});
    }
}

TEST(PrintJobs, OrientationFollowsTheSheetsShape)
{
    const struct {
        CRect extent;
        PageOrientation orientation;
    } cases[] = {
        {{0, 0, 400000, 270000}, PageOrientation::Landscape},
        {{0, 0, 210000, 297000}, PageOrientation::Portrait},
        {{0, 0, 100000, 100000}, PageOrientation::Portrait},
        {{0, 0, 0, 0}, PageOrientation::Portrait},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrientationFor(c.extent), c.orientation) << c.extent.right;
}

TEST(PrintJobs, OneJobPerChosenSheetInOrder)
{
    CDovereduDoc doc;
    AddThreeSheets(doc);
    const auto jobs = PlanPrintJobs(doc, {0, 2, 7, -1}, true);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].sheet, 0);
    EXPECT_EQ(jobs[0].name, "Blad 1");
    EXPECT_EQ(jobs[0].orientation, PageOrientation::Landscape);
    EXPECT_EQ(jobs[1].sheet, 2);
    EXPECT_EQ(jobs[1].name, "Schak\xc3\xa9l/A");
    EXPECT_EQ(jobs[1].fileLabel, "Schak\xc3\xa9l_A");

    // Without automatic rotation the paper stays as the printer has it.
    for (const CPrintJob& job : PlanPrintJobs(doc, {1, 0}, false))
        EXPECT_FALSE(job.orientation.has_value());
    EXPECT_EQ(PlanPrintJobs(doc, {1, 0}, false).front().sheet, 1);
}

TEST(PrintJobs, FileNames)
{
    CDovereduDoc doc;
    AddThreeSheets(doc);
    doc.sheets[1]->sheetName = "blad 1"; // the same file name on many file systems
    doc.sheets.push_back(std::make_unique<CSheet>());
    doc.sheets.back()->sheetName = "";
    const auto jobs = PlanPrintJobs(doc, {0, 1, 3}, true);
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[1].fileLabel, "blad 1 (2)");
    EXPECT_EQ(jobs[2].fileLabel, "Blad");

    // A saved project: beside its file; one never saved: in the projects folder.
    doc.pathName = "/data/Projecten/Kelder.ETT";
    doc.title = "Kelder.ETT";
    EXPECT_EQ(PrintFilePath(doc, jobs[0], "/p"), "/data/Projecten/Kelder - Blad 1.pdf");
    doc.pathName.clear();
    doc.title = "Zavoveze3";
    EXPECT_EQ(PrintFilePath(doc, jobs[1], "/p"), "/p/Zavoveze3 - blad 1 (2).pdf");

    // Printed to a file: one job keeps the name, several get one file each.
    EXPECT_EQ(JobOutputFile("/o/uit.pdf", jobs[0], 1), "/o/uit.pdf");
    EXPECT_EQ(JobOutputFile("/o/uit.pdf", jobs[2], 3), "/o/uit - Blad.pdf");
    EXPECT_EQ(JobOutputFile("/o/uit", jobs[0], 2), "/o/uit - Blad 1.pdf");
}
