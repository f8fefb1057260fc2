// Drawings written by an independent DXF writer import with the records we
// expect: an R12 file with POLYLINE and an R2000 file with LWPOLYLINE.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "dxf/dxf_import.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

// An A3 drawing in millimetres, its extents saved as a CAD program saves them.
constexpr const char* kWriter = R"PY(
import sys
import ezdxf
version, out = sys.argv[1], sys.argv[2]
doc = ezdxf.new(version, setup=True)
kept = doc.blocks.new(name='RES')
kept.block.dxf.flags = 64
kept.add_line((0, 0), (5, 0))
kept.add_line((5, 0), (5, 2))
plain = doc.blocks.new(name='PLAIN')
plain.add_line((0, 0), (5, 0))
plain.add_line((5, 0), (5, 5))
msp = doc.modelspace()
msp.add_line((0, 0), (420, 0), dxfattribs={'linetype': 'DASHED'})
msp.add_circle((100, 100), 2)
msp.add_arc((200, 100), 10, 0, 90)
msp.add_solid([(0, 0), (10, 0), (0, 10), (10, 10)])
points = [(0, 0), (10, 0), (10, 10)]
if version == 'R12':
    msp.add_polyline2d(points, close=True)
else:
    msp.add_lwpolyline(points, close=True)
msp.add_text('%%uTitle', dxfattribs={'height': 2.5, 'insert': (50, 60)})
msp.add_blockref('RES', (30, 30))
msp.reset_extents((0, 0, 0), (420, 297, 0))
doc.saveas(out)
)PY";

bool WriteWithEzdxf(const fs::path& folder, const std::string& version, const fs::path& out)
{
    const auto script = folder / "write.py";
    std::ofstream(script) << kWriter;
    const std::string command = "/usr/bin/python3 '" + script.string() + "' " + version + " '"
        + out.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

CETREC R(int x, int y, int style)
{
    CETREC r;
    r.x = x;
    r.y = y;
    r.styleWord = static_cast<uint16_t>(style);
    return r;
}

} // namespace

TEST(DXFImportPeer, EzdxfDrawingsImport)
{
    CDovereduFont font;
    font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string());
    for (const std::string version : {"R12", "R2000"}) {
        CTempFolder temp;
        const fs::path dxf = temp.path / "peer.dxf";
        ASSERT_TRUE(WriteWithEzdxf(temp.path, version, dxf)) << version;
        CDXFImport reader(font);
        reader.symbolFolder = temp.path / "symbols";
        ASSERT_TRUE(reader.Import(dxf)) << version;
        EXPECT_EQ(reader.scale, 10.0) << version;

        const CRecordVector& r = reader.Records();
        // Line, circle of radius 20 units, arc of 90 degrees, solid, closed
        // polyline, then the text; the INSERT is passed over.
        ASSERT_GT(r.size(), 2u + 37 + 91 + 5 + 4) << version;
        EXPECT_EQ(r[0], R(0, 0, 88)) << version;
        EXPECT_EQ(r[1], R(420000, 0, 90)) << version;
        EXPECT_EQ(r[2], R(102000, 100000, 88)) << version;
        EXPECT_EQ(r[38], R(102000, 100000, 89)) << version;
        EXPECT_EQ(r[39], R(210000, 100000, 88)) << version;
        EXPECT_EQ(r[129], R(200000, 110000, 89)) << version;
        const std::vector solid(r.begin() + 130, r.begin() + 135);
        EXPECT_EQ(solid,
            (std::vector {
                R(0, 0, 88), R(0, 10000, 89), R(10000, 10000, 89), R(10000, 0, 89), R(0, 0, 89)}))
            << version;
        const std::vector polyline(r.begin() + 135, r.begin() + 139);
        EXPECT_EQ(polyline,
            (std::vector {R(0, 0, 88), R(10000, 0, 89), R(10000, 10000, 89), R(0, 0, 89)}))
            << version;
        const std::vector text(r.begin() + 139, r.end());
        for (const CETREC& t : text) {
            EXPECT_EQ(t.Layer(), 10);
            EXPECT_EQ(t.Block(), 1);
            EXPECT_GE(t.x, 50000);
            EXPECT_GE(t.y, 60000); // on the baseline, upright
        }

        // Only the block flagged 64 becomes a symbol, in 0.1 mm from its origin.
        ASSERT_EQ(reader.writtenSymbols.size(), 1u) << version;
        EXPECT_EQ(reader.writtenSymbols[0].filename(), "RES.SYM");
        const auto symbol = ReadSymbolFile(reader.writtenSymbols[0]);
        ASSERT_TRUE(symbol.has_value());
        const std::vector<CSym> expected
            = {{0, 88, 0, 0}, {0, 89, 50, 0}, {0, 88, 50, 0}, {0, 89, 50, 20}};
        EXPECT_EQ(*symbol, expected) << version;
    }
}
