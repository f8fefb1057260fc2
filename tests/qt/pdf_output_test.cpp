// The PDF the program writes must look like the page Qt's own PDF engine
// makes of the same drawing with the same canvas calls: both are rendered
// by a PDF reader (pdftoppm) and compared pixel for pixel, so that a missing
// text, hatch, dot or picture, or a shifted page, shows.
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "app/print_plan.h"
#include "document/document.h"
#include "model/sheet.h"
#include "model/text.h"
#include "qt/pdf_canvas.h"
#include "qt/pdf_file.h"
#include "qt/print_output.h"
#include "qt/qt_image_codec.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The shipped template (frame, title block with system-font texts) with
// fills in every pattern, dots, wide pens, a stroke-font and two
// system-font texts (one turned) and a picture.
void FillSheet(CSheet& s)
{
    // Texts 3.5 mm high, as on a drawing.
    constexpr uint32_t kText = CText::kDefaultAttributes / 200 * 35;
    const int w = s.sheetExtent.Width();
    const int h = s.sheetExtent.Height();
    for (int pattern = 1; pattern <= 7; ++pattern) {
        const int x = w / 10 + pattern * w / 12;
        const int y = h / 6;
        s.Append(CETREC::Make(x, y, 2, 0, 0, true));
        s.Append(CETREC::Make(x + w / 14, y, 2, pattern, 0, true));
        s.Append(CETREC::Make(x + w / 20, y + h / 8, 2, pattern, 0, true));
        s.Append(CETREC::Make(x, y, 2, pattern, 0, true));
    }
    for (int pen = 1; pen <= 7; ++pen) {
        const int y = h / 2 + pen * h / 40;
        s.Append(CETREC::Make(w / 10, y, 3, 0));
        s.Append(CETREC::Make(w / 2, y, 3, pen));
        s.Append(CETREC::Make(w / 2 + w / 20, y + h / 50, 3, pen));
        s.Append(CETREC::Junction(w / 2, y, 3));
    }
    auto stroke = std::make_unique<CText>(
        "Verdeelkast", CRect {w / 10, h / 3, w / 4, h / 3 + h / 100}, kText);
    stroke->SetLayer(4);
    s.texts.Add(std::move(stroke));
    for (const int angle : {0, 90}) {
        auto text = std::make_unique<CText>(
            "Groep 1: wasmachine", CRect {w / 2, h / 3, w / 2 + w / 6, h / 3 + h / 80}, kText);
        text->SetFontNumber(1);
        text->SetAngle(angle);
        text->SetLayer(4);
        s.texts.Add(std::move(text));
    }
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QPainter(&image).fillRect(10, 10, 20, 20, Qt::yellow);
    auto pict = std::make_unique<CPict>();
    pict->placementRect = {w * 7 / 10, h / 2, w * 7 / 10 + w / 8, h / 2 + h / 8};
    pict->SetImage(std::make_shared<CQtImage>(image, CSize {6000, 4000}));
    s.pictures->pictures.push_back(std::move(pict));
}

// The page as Qt's PDF engine draws it.
void WriteWithQt(const fs::path& path, CDovereduDoc& doc, const std::vector<CPrintJob>& jobs,
    const QPageLayout& layout)
{
    QPdfWriter writer(QString::fromStdString(path.string()));
    writer.setResolution(1200);
    QPageLayout first = layout;
    if (jobs.front().orientation)
        first.setOrientation(QtOrientation(*jobs.front().orientation));
    writer.setPageLayout(first);
    QPainter painter(&writer);
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (i > 0) {
            if (jobs[i].orientation)
                writer.setPageOrientation(QtOrientation(*jobs[i].orientation));
            writer.newPage();
        }
        DrawPrintPage(painter, writer, *doc.sheets.at(static_cast<size_t>(jobs[i].sheet)), {});
    }
}

// The pages as a PDF reader shows them, in grey.
std::vector<QImage> Rendered(const fs::path& pdf)
{
    const fs::path prefix = pdf.parent_path() / pdf.stem();
    const std::string command
        = "pdftoppm -r 300 -gray '" + pdf.string() + "' '" + prefix.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<QImage> pages;
    for (int page = 1;; ++page) {
        const fs::path file = prefix.string() + "-" + std::to_string(page) + ".pgm";
        if (!fs::exists(file))
            break;
        pages.emplace_back(QString::fromStdString(file.string()));
    }
    return pages;
}

} // namespace

TEST(PdfOutput, LooksAsQtsPdfOfTheSamePages)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    ASSERT_FALSE(doc.Open((ShippedDataFolder() / "Sjablonen" / "Standaard.ETT").string()));
    FillSheet(*doc.sheets.front());
    auto second = std::make_unique<CSheet>();
    second->sheetName = "Staand";
    second->AddFrame(0, 0, 210000, 297000);
    second->sheetExtent = {0, 0, 210000, 297000};
    FillSheet(*second);
    doc.sheets.push_back(std::move(second));

    // Two pages, turned each their own way, on paper with margins.
    const QPageLayout layout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 15, 10, 25));
    const std::vector<CPrintJob> jobs = PlanPrintJobs(doc, {0, 1}, true);
    const fs::path ours = tmp.path / "ours.pdf";
    const fs::path theirs = tmp.path / "qt.pdf";
    ASSERT_FALSE(WritePrintPdf(QString::fromStdString(ours.string()), doc, jobs, layout, {}));
    WriteWithQt(theirs, doc, jobs, layout);

    const std::vector<QImage> a = Rendered(ours);
    const std::vector<QImage> b = Rendered(theirs);
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    for (size_t page = 0; page < a.size(); ++page) {
        ASSERT_EQ(a[page].size(), b[page].size()) << "page " << page + 1;
        // Edges of lines and glyphs may shade a little differently (a PDF
        // reader fits a font's glyphs to the pixels, not a path), and a
        // hatch is finer than the pixels: the pages are compared in blocks
        // of 6 x 6 pixels by their mean grey. What is drawn, and where, may
        // not differ.
        const QImage p = a[page].convertToFormat(QImage::Format_Grayscale8);
        const QImage q = b[page].convertToFormat(QImage::Format_Grayscale8);
        constexpr int kBlock = 6;
        int differing = 0;
        int drawn = 0;
        for (int y = 0; y + kBlock <= p.height(); y += kBlock) {
            for (int x = 0; x + kBlock <= p.width(); x += kBlock) {
                int ours = 0;
                int theirs = 0;
                for (int dy = 0; dy < kBlock; ++dy) {
                    for (int dx = 0; dx < kBlock; ++dx) {
                        ours += p.constScanLine(y + dy)[x + dx];
                        theirs += q.constScanLine(y + dy)[x + dx];
                    }
                }
                differing += std::abs(ours - theirs) > 20 * kBlock * kBlock ? 1 : 0;
                drawn += theirs < 250 * kBlock * kBlock ? 1 : 0;
            }
        }
        const int blocks = (p.width() / kBlock) * (p.height() / kBlock);
        EXPECT_LT(differing, blocks / 2000) << "page " << page + 1;
        EXPECT_GT(drawn, blocks / 50) << "page " << page + 1;
    }
}

TEST(PdfOutput, TheFileTableFindsEveryObjectAndStreamsReadBack)
{
    std::string written;
    CPdfFile pdf([&](const char* data, size_t size) {
        written.append(data, size);
        return true;
    });
    std::string content;
    for (int i = 0; content.size() < (size_t {5} << 20); ++i)
        content += std::to_string(int64_t {i} * 7919 % 100000) + " " + std::to_string(i) + " l\n";
    const int info = pdf.Reserve();
    const int catalog = pdf.Reserve();
    const int stream = pdf.Reserve();
    pdf.StreamLater(stream, content);
    pdf.Object(info, "<< >>");
    pdf.Object(catalog, "<< /Type /Catalog >>");
    ASSERT_TRUE(pdf.Finish(catalog, info));

    // Each entry of the table points at its object's first byte.
    const size_t table = written.find("xref\n0 4\n");
    ASSERT_NE(table, std::string::npos);
    const size_t start = std::stoul(written.substr(written.rfind("startxref\n") + 10));
    EXPECT_EQ(start, table);
    for (int n = 1; n <= 3; ++n) {
        const size_t at = std::stoul(written.substr(table + 10 + 20 * static_cast<size_t>(n), 10));
        EXPECT_EQ(written.compare(at, 8, std::to_string(n) + " 0 obj\n"), 0) << n;
    }
    // The stream inflates to the content.
    const size_t data = written.find("stream\n", written.find("3 0 obj\n")) + 7;
    const size_t length = std::stoul(written.substr(written.find("/Length ", data - 40) + 8));
    QByteArray zlib(4, '\0');
    qToBigEndian(static_cast<quint32>(content.size()), zlib.data());
    zlib.append(written.data() + data, static_cast<qsizetype>(length));
    EXPECT_EQ(qUncompress(zlib).toStdString(), content);
}

TEST(PdfOutput, NumbersAreWrittenAsEveryReaderTakesThem)
{
    // Fixed point, never an exponent: a shortest form would write a circle
    // centred 100000 pixels out as "1e+05".
    std::string written;
    CPdfFile pdf([&](const char* data, size_t size) {
        written.append(data, size);
        return true;
    });
    CPdfResources resources(pdf);
    CPdfCanvas canvas(pdf, resources, QTransform(0.06, 0, 0, -0.06, 0, 842));
    canvas.SelectPen({3, Rgb(0, 0, 1), PenStyle::Solid});
    canvas.SelectBrush({BrushStyle::Null, 0});
    canvas.Ellipse(99990, 199990, 100010, 200010);
    canvas.Ellipse(0, 0, 1, 1);
    const std::vector<int> streams = canvas.Finish();
    ASSERT_EQ(streams.size(), 1u);
    resources.Write();
    pdf.Finish(streams.front(), resources.Number());

    const size_t at
        = written.find("stream\n", written.find(std::to_string(streams.front()) + " 0 obj"));
    const size_t length = std::stoul(written.substr(written.rfind("/Length ", at) + 8));
    QByteArray zlib(4, '\0');
    qToBigEndian(quint32 {1} << 20, zlib.data());
    zlib.append(written.data() + at + 7, static_cast<qsizetype>(length));
    const std::string content = qUncompress(zlib).toStdString();
    EXPECT_NE(content.find("0.06 0 0 -0.06 0 842 cm\n"), std::string::npos) << content;
    EXPECT_NE(content.find("0 0 0.004 RG\n3 w\n1 J\n"), std::string::npos) << content;
    EXPECT_NE(content.find("100010 200000 m\n"), std::string::npos) << content;
    EXPECT_NE(content.find("1 0.78 0.78 1 0.5 1 c\n"), std::string::npos) << content;
    EXPECT_EQ(content.find('e'), std::string::npos) << content;
}

TEST(PdfOutput, AFailedWriteOrAnObjectNeverWrittenFails)
{
    int writes = 0;
    CPdfFile failing([&](const char*, size_t) { return ++writes < 3; });
    const int info = failing.Reserve();
    const int catalog = failing.Reserve();
    failing.Object(info, "<< >>");
    failing.Object(catalog, "<< /Type /Catalog >>");
    EXPECT_FALSE(failing.Finish(catalog, info));

    CPdfFile missing([](const char*, size_t) { return true; });
    const int a = missing.Reserve();
    const int b = missing.Reserve();
    missing.Object(a, "<< >>");
    EXPECT_FALSE(missing.Finish(a, b));
}
