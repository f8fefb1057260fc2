#pragma once

#include <QObject>
#include <QString>

#include "platform/clipboard.h"

// The system clipboard through QClipboard. A copy puts three formats on it
// in one go (QClipboard replaces whatever it held): the selection stream
// under kStreamFormat, for any running copy of the program, and an SVG and
// a PNG of the selection for other programs, drawn only when one of them
// asks. Whether the clipboard holds a stream is kept up to date from
// QClipboard::dataChanged, so that the state of "Plakken" never waits for
// another program.
class CQtClipboard : public QObject, public CClipboard {
public:
    static const QString kStreamFormat;

    explicit CQtClipboard(QObject* parent = nullptr);

    bool Put(std::vector<uint8_t> stream, std::unique_ptr<CClipboardPicture> picture) override;
    bool HoldsStream() const override { return holdsStream; }
    CTaken Take() override;

private:
    void Refresh();

    bool holdsStream = false;
};

// The clipboard of the running program, made on first use and gone with
// the application object.
CQtClipboard& ApplicationClipboard();
