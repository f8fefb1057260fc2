// Writes the template project the program ships in data/Sjablonen: A4 and A3
// sheets in landscape with a drawing frame and a title block.
//   make_templates OUT.ETT
#include <QGuiApplication>
#include <cstdio>

#include "document/document.h"
#include "model/platform_services.h"
#include "qt/qt_text_metrics.h"

namespace {

constexpr int kMm = 1000;

void Line(CSheet& s, int x1, int y1, int x2, int y2, int pen = 1)
{
    s.Append(CETREC::Make(x1, y1, 1, 0, 1));
    s.Append(CETREC::Make(x2, y2, 1, pen, 1));
}

void Rect(CSheet& s, int l, int t, int r, int b, int pen)
{
    s.Append(CETREC::Make(l, t, 1, 0, 1));
    s.Append(CETREC::Make(r, t, 1, pen, 1));
    s.Append(CETREC::Make(r, b, 1, pen, 1));
    s.Append(CETREC::Make(l, b, 1, pen, 1));
    s.Append(CETREC::Make(l, t, 1, pen, 1));
}

void Label(CSheet& s, const char* text, int x, int y, int height, bool bold = false)
{
    auto t = std::make_unique<CText>(text, CRect {x, y, x, y}, CText::kDefaultAttributes);
    t->SetHeight(height);
    t->SetLayer(1);
    t->SetBold(bold);
    t->Measure();
    s.texts.Add(std::move(t));
}

// A sheet of the paper size with a 10 mm border (20 mm at the left for
// filing) and a title block of 180 x 40 mm in the bottom right corner.
void AddTemplate(CDovereduDoc& doc, const char* name, int width, int height)
{
    CSheet& s = *doc.sheets[static_cast<size_t>(doc.AddSheet(0, name, "Sjabloon"))];
    s.recordCount = 1;
    Rect(s, 0, 0, width * kMm, height * kMm, 1);
    const int l = 20 * kMm, t = 10 * kMm, r = (width - 10) * kMm, b = (height - 10) * kMm;
    Rect(s, l, t, r, b, 3);

    const int bl = r - 180 * kMm, bt = b - 40 * kMm;
    Rect(s, bl, bt, r, b, 3);
    const int rows[] = {bt + 16 * kMm, bt + 28 * kMm};
    for (int y : rows)
        Line(s, bl, y, r, y);
    Line(s, bl + 110 * kMm, rows[0], bl + 110 * kMm, b);
    Line(s, bl + 150 * kMm, rows[0], bl + 150 * kMm, b);
    Line(s, bl + 60 * kMm, rows[1], bl + 60 * kMm, b);

    Label(s, "Project:", bl + 2 * kMm, bt + 2 * kMm, 25);
    Label(s, "Blad:", bl + 2 * kMm, rows[0] + 1 * kMm, 25);
    Label(s, "Datum:", bl + 112 * kMm, rows[0] + 1 * kMm, 25);
    Label(s, "Revisie:", bl + 152 * kMm, rows[0] + 1 * kMm, 25);
    Label(s, "Getekend door:", bl + 2 * kMm, rows[1] + 1 * kMm, 25);
    Label(s, "Goedgekeurd:", bl + 62 * kMm, rows[1] + 1 * kMm, 25);
    Label(s, "Vorel Ridizav", bl + 112 * kMm, rows[1] + 4 * kMm, 40, true);
    s.origin = s.Extents();
    s.Recount();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_templates OUT.ETT\n");
        return 2;
    }
    const CQtTextMetrics metrics;
    PlatformServices().textMetrics = &metrics;
    CDovereduDoc doc;
    AddTemplate(doc, "A4 liggend", 297, 210);
    AddTemplate(doc, "A3 liggend", 420, 297);
    doc.projectName = "Sjablonen";
    if (auto error = doc.Save(argv[1])) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return 1;
    }
    return 0;
}
