#include "model/sheet.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "model/model_defaults.h"
#include "model/pen_table.h"
#include "model/tool_mode.h"

namespace {

const CClassRegistrar registrar(CSheet::StaticClass());

void ReadPoint(CArchive& ar, CPoint& p)
{
    const auto [x, y] = ar.ReadPair();
    p = {x, y};
}

} // namespace

const CClassInfo& CSheet::StaticClass()
{
    static const CClassInfo info {"CSheet", 1, false, [] { return std::make_unique<CSheet>(); }};
    return info;
}

CSheet::CSheet()
{
    Reset();
}

CSheet::CSheet(int kind, std::string_view name, std::string_view title)
{
    Reset(kind);
    SetName(name);
    sheetTitle = title;
    fillPattern = 1;
}

CSheet::~CSheet() = default;

void CSheet::Reset(int newKind)
{
    kind = newKind;
    sheetName = "Nieuw";
    sheetTitle.clear();
    records.assign(kInitialLength, CETREC {});
    placement = {};
    selectionFlags.assign(kInitialLength, 0);
    recordCount = 0;
    placementCount = 0;
    selectedCount = 0;
    currentRecord = 1;
    texts.RemoveAll();
    texts.currentIndex = 0;
    editText.reset();
    pictures = std::make_unique<CPictArray>();

    layers.Init();
    activeLayer = 1;
    activePen = 1;
    fillPattern = 1;
    std::copy(kDefaultPenWidths.begin(), kDefaultPenWidths.end(), penWidths.begin());
    layerColours.fill(0);
    layerColours[0] = kPaperColour;
    highlightColours.fill(kHighlightColour);
    printColours = layerColours;
    junctionSize = 1000;

    zoom = kDefaultZoom;
    zoomAtLastDraw = 0;
    fitMode = 1;
    clientRect = {0, 0, 640, 480};
    sheetExtent = {0, 0, 297000, 210000};
    origin = cursor = prevCursor = rawPoint = textPoint = relPoint = {};
    relFixed = 0;
    grids.CopyFrom(ModelDefaults().grids);
    grids.activeGrid = CGridArr::kDraw;
    selectionCriteria = kDefaultCriteria;
    toolMode = ToolMode::Select;
    toolStep = Step::Idle;
    cornerMode = 1;
    hitCode = 0;
    rubberRect = {0, 0, 100, 100};
    rubberAnchor = {};
    bufferAnchor = {};
    bufferCursor = {};
    rubberActive = 0;
    zoomWindowRect = {0, 0, 100, 100};
    zoomWindowStart = {};
    zoomWindowActive = 0;

    undoList.clear();
    undoPosition = -1;
    undoValidCount = 0;
    undoLimit = std::clamp(ModelDefaults().undoLimit, 1, 20);
    pendingChange = 0;
    changedFlag = 0;
}

void CSheet::SetName(std::string_view name)
{
    const auto slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    sheetName = name;
}

void CSheet::AddFrame(int left, int top, int right, int bottom)
{
    recordCount = 1;
    records[0] = CETREC {};
    Append(CETREC::Make(left, top, 1, 0, 1));
    Append(CETREC::Make(right, top, 1, 1, 1));
    Append(CETREC::Make(right, bottom, 1, 1, 1));
    Append(CETREC::Make(left, bottom, 1, 1, 1));
    Append(CETREC::Make(left, top, 1, 1, 1));
}

void CSheet::CopySettingsFrom(const CSheet& other)
{
    SetName(other.sheetName);
    sheetTitle = other.sheetTitle;
    penWidths = other.penWidths;
    layers.CopyFrom(other.layers);
    layerColours = other.layerColours;
    highlightColours = other.highlightColours;
    printColours = other.printColours;
    recordCount = other.recordCount;
    records = other.records;
    ResizeArrays(static_cast<int>(records.size()));
    texts.CopyFrom(other.texts);
    origin = other.origin;
    sheetExtent = other.sheetExtent;
    clientRect = other.clientRect;
    grids.CopyFrom(other.grids);
}

void CSheet::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreBody(ar);
        return;
    }
    const CRecordTally records = LoadBody(ar, ar.ReadInt());
    AfterLoad(records);
}

void CSheet::StoreBody(CArchive& ar)
{
    ar.WriteInt(kSchema);
    ar.WriteString(sheetName);
    ar.WriteString(sheetTitle);
    for (int32_t w : penWidths)
        ar.WriteInt(w);
    layers.Serialize(ar);
    for (int i = 0; i < 16; ++i) {
        ar.WriteInt(static_cast<int32_t>(layerColours[i]));
        ar.WriteInt(static_cast<int32_t>(highlightColours[i]));
        ar.WriteInt(static_cast<int32_t>(printColours[i]));
    }
    ar.WriteInt(recordCount);
    StoreRecords(ar, records);
    texts.Serialize(ar);
    grids.Serialize(ar);
    ar.WriteInt(zoom);
    ar.WritePair(rawPoint.x, rawPoint.y);
    ar.WritePair(origin.x, origin.y);
    ar.WritePair(textPoint.x, textPoint.y);
    ar.WriteInt(cursor.x);
    ar.WriteInt(cursor.y);
    ar.WriteInt(selectionCriteria);
    ar.WriteInt(junctionSize);
    pictures->Serialize(ar);
}

CRecordTally CSheet::LoadBody(CArchive& ar, int schema)
{
    const bool current = schema == 811 || schema == 812 || schema == 813;
    sheetName = ar.ReadString();
    sheetTitle = ar.ReadString();
    for (int32_t& w : penWidths)
        w = ar.ReadInt();
    if (current) {
        layers.Serialize(ar);
    } else {
        // The oldest sheets store only a name and a visibility per layer.
        for (int i = 0; i < 16; ++i) {
            layers.SetName(i, ar.ReadString());
            layers.SetVisible(i, ar.ReadInt());
        }
    }
    for (int i = 0; i < 16; ++i) {
        layerColours[i] = static_cast<COLORREF>(ar.ReadInt());
        highlightColours[i] = static_cast<COLORREF>(ar.ReadInt());
        printColours[i] = static_cast<COLORREF>(ar.ReadInt());
    }
    recordCount = ar.ReadInt();
    // The arrays of a new sheet make way: a loaded sheet holds only its
    // records and their spare.
    CRecordVector().swap(records);
    std::vector<uint8_t>().swap(selectionFlags);
    CRecordTally tally;
    LoadRecords(ar, records, kGrowth, [&](size_t first, std::span<const CETREC> piece) {
        tally.TakeInUse(first, piece, recordCount);
    });
    // The file keeps the records as they are stored: the first undo step
    // reads them from there when it is needed, instead of a copy now.
    if (ar.KeptFile() && std::endian::native == std::endian::little) {
        loadedFile = ar.KeptFile();
        loadedOffset = ar.Position() - records.size() * CETREC::kStoredSize;
    }
    // Later code indexes the list by recordCount: it must lie within what
    // was stored. A sheet reset and stored before its frame was added stores
    // 0 (records 1 to -1: none); it is kept, so that the file saves back as
    // it was.
    if (recordCount < 0 || recordCount > static_cast<int64_t>(records.size()))
        ar.Fail(ArchiveFailure::BadIndex);
    ResizeArrays(recordCount + kGrowth);
    records[0] = CETREC {};

    texts.Serialize(ar);
    // Before 813 text angles were stored clockwise.
    if (schema != 813)
        texts.NegateAngles();

    if (schema == 813 || schema == 812) {
        grids.Serialize(ar);
        zoom = ar.ReadInt();
        ReadPoint(ar, rawPoint);
        ReadPoint(ar, origin);
        ReadPoint(ar, textPoint);
        cursor.x = ar.ReadInt();
        cursor.y = ar.ReadInt();
        if (schema == 813) {
            selectionCriteria = ar.ReadInt();
            junctionSize = ar.ReadInt();
        }
        pictures->Serialize(ar);
        fitMode = 0;
    } else if (schema == 811 || schema >= 806) {
        grids.Serialize(ar);
    }
    if (zoom < kMinZoom || zoom > kMaxZoom) {
        zoom = kDefaultZoom;
        fitMode = 1;
    }
    return tally;
}

void CSheet::AfterLoad(const CRecordTally& records)
{
    SetName(sheetName);
    origin = Extents(records);
    layers.ShowAll();
    Recount(records);
    if (loadedFile) {
        CUndoRedo& snap = NextSnapshot();
        CRecordVector().swap(snap.records);
        snap.file = std::exchange(loadedFile, {});
        snap.fileOffset = loadedOffset;
        snap.fileRecords = static_cast<size_t>(UsedLength(Length()));
        FinishSnapshot(snap);
    } else {
        PushUndo();
    }
    // The first snapshot is the file itself, no change to copy.
    changedFlag = 0;
}

bool CSheet::BuildTextStrokes()
{
    return BuildTextStrokes(cursor);
}

bool CSheet::BuildTextStrokes(CPoint at)
{
    return font.BuildText(font.Text(), at, ModelDefaults().strokeFontSize, *this);
}

bool CSheet::ReloadFont()
{
    return font.Load(ModelDefaults().strokeFontPath);
}
