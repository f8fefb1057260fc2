#pragma once

class CImageCodec;
class CTextMetrics;

// The platform implementations the model uses while it reads and measures:
// set once by the front end (the GUI, the command-line tool, a test). Either
// may be null; pictures then stay undecoded and texts unmeasured.
struct CPlatformServices {
    const CImageCodec* imageCodec = nullptr;
    const CTextMetrics* textMetrics = nullptr;
};

CPlatformServices& PlatformServices();
