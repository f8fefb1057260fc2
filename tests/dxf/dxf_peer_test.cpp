// Files we export must be read by an independent DXF reader in its strict
// mode (ezdxf.readfile, not its recover mode).
#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

#include "dxf/dxf_export.h"
#include "model/sheet.h"
#include "support/temp_folder.h"

namespace {

// Prints what the reader found: the version, our layers, the line types,
// and every polyline as "layer linetype x,y x,y ...".
constexpr const char* kReader = R"PY(
import sys
import ezdxf
doc = ezdxf.readfile(sys.argv[1])
print("version", doc.dxfversion)
print("layers", sum(1 for i in range(20) if doc.layers.has_entry(str(i))),
      "colour of 9:", doc.layers.get("9").color)
print("linetypes", " ".join(sorted(lt.dxf.name.upper() for lt in doc.linetypes)))
for e in doc.modelspace():
    if e.dxftype() != "POLYLINE":
        print("other", e.dxftype())
        continue
    points = " ".join("%g,%g" % (v.dxf.location.x, v.dxf.location.y) for v in e.vertices)
    print(e.dxf.layer, e.dxf.linetype, points)
)PY";

struct PythonRun {
    int status = -1;
    std::string output;
};

PythonRun ReadWithEzdxf(const std::filesystem::path& dxf, const std::filesystem::path& folder)
{
    const auto script = folder / "read.py";
    std::ofstream(script) << kReader;
    const std::string command
        = "/usr/bin/python3 '" + script.string() + "' '" + dxf.string() + "' 2>&1";
    PythonRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> chunk {};
    size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.output.append(chunk.data(), n);
    run.status = pclose(pipe);
    return run;
}

} // namespace

TEST(DXFPeer, EzdxfReadsOurPolylines)
{
    CTempFolder tmp;
    CSheet sheet;
    const auto add
        = [&](int x, int y, int layer, int pen) { sheet.Append(CETREC::Make(x, y, layer, pen)); };
    // A line with a width pen on layer 1.
    add(10000, 20000, 1, 0);
    add(30000, 50000, 1, 2);
    // Four segments on a dash layer.
    add(0, 0, 9, 0);
    add(10000, 0, 9, 4);
    add(10000, 10000, 9, 4);
    add(0, 10000, 9, 4);
    add(0, 0, 9, 4);
    sheet.Append(CETREC::Junction(5000, 5000, 9));
    // Dotted on layer 15.
    add(2000, 3000, 15, 0);
    add(4000, 3000, 15, 5);

    const auto path = tmp.path / "peer.DXF";
    ASSERT_TRUE(ExportDXF(sheet, path).written);
    const PythonRun run = ReadWithEzdxf(path, tmp.path);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output,
        "version AC1009\n"
        "layers 20 colour of 9: 150\n"
        "linetypes BYBLOCK BYLAYER CENTER CONTINUOUS DASHDOT DASHED DIVIDE DOT HIDDEN\n"
        "1 BYLAYER 100,301 300,1\n"
        "9 CENTER 0,501 100,501 100,401 0,401 0,501\n"
        "15 DOT 20,471 40,471\n");
}

TEST(DXFPeer, EzdxfRefusesTheFixedPartWithoutItsMends)
{
    // The reader must be strict enough to refuse the two faults our fixed
    // part avoids, or the test above proves little: BLOCKS running into
    // ENTITIES without its ENDSEC, and a DWGMGR table.
    CTempFolder tmp;
    CSheet sheet;
    sheet.Append(CETREC::Make(0, 0, 1, 0));
    sheet.Append(CETREC::Make(1000, 1000, 1, 1));
    const auto path = tmp.path / "good.DXF";
    ASSERT_TRUE(ExportDXF(sheet, path).written);
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string entities = "0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    const std::string ucsTable = "2\r\nUCS\r\n70\r\n0\r\n0\r\nENDTAB\r\n";
    ASSERT_NE(text.find(entities), std::string::npos);
    ASSERT_NE(text.find(ucsTable), std::string::npos);

    std::string noEndsec = text;
    noEndsec.replace(noEndsec.find(entities), entities.size(), "0\r\nSECTION\r\n2\r\nENTITIES\r\n");
    std::string dwgmgr = text;
    dwgmgr.insert(dwgmgr.find(ucsTable) + ucsTable.size(),
        "0\r\nTABLE\r\n2\r\nDWGMGR\r\n70\r\n0\r\n0\r\nENDTAB\r\n");
    for (const std::string* bad : {&noEndsec, &dwgmgr}) {
        const auto badPath = tmp.path / "bad.DXF";
        std::ofstream(badPath, std::ios::binary) << *bad;
        EXPECT_NE(ReadWithEzdxf(badPath, tmp.path).status, 0)
            << (bad == &dwgmgr ? "DWGMGR" : "ENDSEC");
    }
    EXPECT_EQ(ReadWithEzdxf(path, tmp.path).status, 0);
}
