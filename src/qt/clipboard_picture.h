#pragma once

#include <QByteArray>
#include <QImage>

class CClipboardPicture;

// The picture of a copy as other programs take it from the clipboard, both
// drawn by the sheet's own drawing code on a CQtCanvas.
// An SVG of the picture's true size in millimetres, titled "Vorel Ridizav".
QByteArray DrawPictureSvg(CClipboardPicture& picture);
// A PNG-ready image at 300 dpi on a white ground, its long side at most
// 4096 pixels (smaller dots for a larger picture).
QImage DrawPictureImage(CClipboardPicture& picture);

constexpr const char* kPictureTitle = "Vorel Ridizav";
constexpr int kPictureDpi = 300;
constexpr int kPictureLongSide = 4096;
