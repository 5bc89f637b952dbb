#pragma once
// TFont (the engine's font value) <-> QFont.
//
// Face names: Arial, Times New Roman and Courier New map to their
// metric-compatible Liberation twins (Debian fonts-liberation).  The Windows
// faces without a Linux twin map to fixed substitutes so that a picture is the
// same on every machine that has the packages of deps/debian-packages.txt:
//   MS Sans Serif  -> Liberation Sans
//   Century Gothic -> URW Gothic (fonts-urw-base35)
// Other names are passed to the font database as they are.
//
// Sizes are pixel sizes: a negative Height is the character (em) height in
// pixels, a positive one the cell height (ascent + descent), 0 the default
// of 16 pixels.  Text is drawn without anti-aliasing, like the bitmap fonts
// the pictures were designed with, so that pictures hold only the colours
// that were asked for.

#include <QFont>
#include <QString>
#include <string_view>

#include "Font.h"

// The family the font database is asked for when `name` is requested.
QString substituteFamily(std::string_view name);

QFont toQFont(const TFont& font);

// The QFont's colour is not part of QFont; it comes in as `color`.  The face
// name is the family Qt reports (not mapped back to a Windows name).
TFont fromQFont(const QFont& font, TColor color = clBlack);

// 0xRRGGBB as a Qt colour value.
inline unsigned toQRgb(TColor color) { return 0xFF000000u | (color & 0xFFFFFFu); }
