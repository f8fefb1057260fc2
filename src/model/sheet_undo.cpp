#include <algorithm>
#include <cstring>
#include <vector>

#include "model/file_io.h"
#include "model/sheet.h"
#include "model/tool_mode.h"

namespace {

constexpr CETREC kZeroRecord {};

} // namespace

int CSheet::UsedLength(int end) const
{
    end = std::min(end, Length());
    const int low = std::max(recordCount, 0);
    while (end > low) {
        const CETREC& r = records[end - 1];
        if (r.blockWord != 0 || r.styleWord != 0 || r.x != 0 || r.y != 0)
            break;
        --end;
    }
    return end;
}

void CSheet::PushUndo()
{
    if (undoScopeDepth > 0) {
        undoScopeWanted = true;
        pendingChange = 0;
        return;
    }
    TakeSnapshot(UsedLength(Length()));
}

CSheet::CUndoScope::CUndoScope(CSheet& sheet)
    : sheet(sheet)
{
    if (sheet.undoScopeDepth++ == 0) {
        sheet.undoScopeWanted = false;
        sheet.editRefused = false;
    }
}

CSheet::CUndoScope::~CUndoScope()
{
    End();
}

bool CSheet::CUndoScope::End()
{
    if (ended)
        return false;
    ended = true;
    if (--sheet.undoScopeDepth > 0 || !sheet.undoScopeWanted)
        return false;
    sheet.undoScopeWanted = false;
    sheet.PushUndo();
    return true;
}

void CSheet::CUndoScope::Discard()
{
    sheet.undoScopeWanted = false;
    End();
}

int CSheet::PushUndoNumbering(int first)
{
    return TakeSnapshot(UsedLength(Length()), std::clamp(first, 0, recordCount));
}

CUndoRedo& CSheet::NextSnapshot()
{
    if (undoPosition < undoLimit) {
        ++undoPosition;
    } else {
        // The oldest snapshot drops out; its memory takes the newest, so a
        // full history costs no new allocation per change.
        std::rotate(undoList.begin(), undoList.begin() + 1, undoList.end());
        undoPosition = undoLimit;
        if (static_cast<int>(undoList.size()) > undoPosition + 1)
            undoList.resize(undoPosition + 1);
    }
    undoValidCount = undoPosition + 1;
    if (static_cast<int>(undoList.size()) <= undoPosition)
        undoList.push_back(std::make_unique<CUndoRedo>());
    CUndoRedo& snap = *undoList[undoPosition];
    snap.file.reset();
    return snap;
}

CUndoRedo& CSheet::FreeSnapshot(CRecordTally& tally)
{
    const int next = undoPosition + 1;
    CUndoRedo* snap = nullptr;
    if (undoPosition < undoLimit && next >= undoValidCount) {
        if (static_cast<int>(undoList.size()) <= next)
            undoList.resize(static_cast<size_t>(next) + 1);
        if (!undoList[size_t(next)])
            undoList[size_t(next)] = std::make_unique<CUndoRedo>();
        snap = undoList[size_t(next)].get();
    } else {
        if (!undoSpare)
            undoSpare = std::make_unique<CUndoRedo>();
        snap = undoSpare.get();
    }
    snap->file.reset();
    const int count = std::clamp(recordCount, 1, Length());
    snap->records.resize(static_cast<size_t>(count));
    snap->records[0] = records[0];
    StreamRecordsTallied(
        snap->records.data() + 1, records.data() + 1, static_cast<size_t>(count - 1), tally);
    return *snap;
}

void CSheet::CommitSnapshot(CUndoRedo& written)
{
    const size_t done = written.records.size();
    const auto used = static_cast<size_t>(UsedLength(Length()));
    written.records.resize(used);
    if (used > done)
        std::copy(records.begin() + done, records.begin() + used, written.records.begin() + done);
    if (&written == undoSpare.get()) {
        // The step that drops out (the oldest, or the first to redo) leaves
        // its memory as the next spare.
        NextSnapshot();
        std::swap(undoList[size_t(undoPosition)], undoSpare);
    } else {
        NextSnapshot();
    }
    FinishSnapshot(*undoList[size_t(undoPosition)]);
}

void CSheet::FinishSnapshot(CUndoRedo& snap)
{
    snap.arrayLength = Length();
    snap.recordCount = recordCount;
    snap.currentRecord = currentRecord;
    snap.origin = origin;
    snap.texts.CopyFrom(texts);
    snap.textIndex = texts.currentIndex;
    snap.pictures = std::make_unique<CPictArray>();
    snap.pictures->CopyFrom(*pictures, true);

    pendingChange = 0;
    changedFlag = 1;
}

int CSheet::TakeSnapshot(int usedLength, int newFrom)
{
    int newBlock = 0;
    CUndoRedo& snap = NextSnapshot();
    // A snapshot is rarely read again: into memory it already has, the
    // records go past the caches; fresh memory is filled the usual way.
    auto used = static_cast<size_t>(usedLength);
    if (newFrom < 0) {
        if (snap.records.size() >= used) {
            snap.records.resize(used);
            StreamRecords(snap.records.data(), records.data(), used);
        } else {
            snap.records.assign(records.begin(), records.begin() + usedLength);
        }
    } else {
        // The records before the new ones are copied first, their highest
        // block number found on the way; the new ones are numbered before
        // they are copied. The records are read once.
        const auto split = static_cast<size_t>(newFrom);
        snap.records.resize(used);
        const int highest = StreamRecordsHighestBlock(snap.records.data(), records.data(), split);
        newBlock = highest < CETREC::kMaxBlock ? highest + 1 : NewBlockNumber();
        if (newBlock == 0) {
            // No number is free: the new records go again.
            for (int k = recordCount - 1; k >= newFrom; --k)
                records[k] = CETREC {};
            recordCount = newFrom;
            currentRecord = std::min(currentRecord, recordCount - 1);
            used = static_cast<size_t>(UsedLength(Length()));
            snap.records.resize(used);
        }
        for (int k = newFrom; k < recordCount; ++k)
            records[k].SetBlock(newBlock);
        StreamRecords(snap.records.data() + split, records.data() + split, used - split);
    }
    FinishSnapshot(snap);
    return newBlock;
}

bool CUndoRedo::Ready()
{
    if (!file)
        return true;
    records.resize(fileRecords);
    if (!file->ReadAt(fileOffset, records.data(), fileRecords * CETREC::kStoredSize)) {
        records.clear();
        return false;
    }
    if (!records.empty())
        records[0] = CETREC {};
    file.reset();
    return true;
}

bool CSheet::SameRecords(const CUndoRedo& snap) const
{
    const auto used = static_cast<size_t>(UsedLength(Length()));
    if (!snap.file) {
        return snap.records.size() == used
            && (used == 0
                || std::memcmp(snap.records.data(), records.data(), used * sizeof(CETREC)) == 0);
    }
    if (snap.fileRecords != used || used == 0)
        return snap.fileRecords == used;
    // Compared with the file a piece at a time; its first record is the
    // sentinel, zero whatever the file holds there.
    if (std::memcmp(&records[0], &kZeroRecord, sizeof(CETREC)) != 0)
        return false;
    constexpr size_t kPiece = 1 << 16;
    std::vector<CETREC> piece(std::min(kPiece, used));
    for (size_t done = 1; done < used;) {
        const size_t n = std::min(kPiece, used - done);
        if (!snap.file->ReadAt(
                snap.fileOffset + done * CETREC::kStoredSize, piece.data(), n * CETREC::kStoredSize)
            || std::memcmp(piece.data(), records.data() + done, n * sizeof(CETREC)) != 0)
            return false;
        done += n;
    }
    return true;
}

int CSheet::Restore(int i)
{
    if (i < 0 || i >= static_cast<int>(undoList.size()))
        return 0;
    CUndoRedo& snap = *undoList[i];
    if (!snap.Ready())
        return 0;
    records.assign(snap.records.begin(), snap.records.end());
    ResizeArrays(snap.arrayLength);
    recordCount = snap.recordCount;
    currentRecord = snap.currentRecord;
    texts.CopyFrom(snap.texts);
    texts.currentIndex = snap.textIndex;
    origin = snap.origin;
    pictures = std::make_unique<CPictArray>();
    pictures->CopyFrom(*snap.pictures, true);
    return 1;
}

int CSheet::Undo()
{
    // Deselecting texts is no change: it takes no snapshot of its own, which
    // would make this undo step back over nothing and lose the redo steps.
    texts.DeselectAll();
    if (selectedCount > 0)
        ClearSelection();
    toolMode = ToolMode::Select;
    toolStep = Step::Idle;
    if (pendingChange)
        PushUndo();
    if (undoPosition < 1)
        return 0;
    --undoPosition;
    const int result = Restore(undoPosition);
    if (!result)
        ++undoPosition; // the sheet stays as it was
    texts.DeselectAll();
    return result;
}

int CSheet::Redo()
{
    if (undoPosition < undoValidCount - 1 && Restore(undoPosition + 1)) {
        ++undoPosition;
        return 1;
    }
    return 0;
}

void CSheet::RestartUndo()
{
    const int changed = changedFlag;
    std::unique_ptr<CUndoRedo> kept;
    const int size = static_cast<int>(undoList.size());
    const bool same = !pendingChange && undoPosition >= 0 && undoPosition < size
        && SameRecords(*undoList[undoPosition]);
    if (same) {
        kept = std::move(undoList[undoPosition]);
    } else if (size > 0) {
        // The snapshot with the most memory takes the new one.
        auto largest
            = std::max_element(undoList.begin(), undoList.end(), [](const auto& a, const auto& b) {
                  return a->records.capacity() < b->records.capacity();
              });
        kept = std::move(*largest);
        kept->file.reset();
        kept->records.clear();
    }
    undoList.clear();
    undoSpare.reset();
    undoPosition = -1;
    undoValidCount = 0;
    if (same) {
        undoList.push_back(std::move(kept));
        undoPosition = 0;
        undoValidCount = 1;
        FinishSnapshot(*undoList[0]);
        pendingChange = 0;
    } else {
        if (kept)
            undoList.push_back(std::move(kept));
        PushUndo();
    }
    changedFlag = changed;
}
