#pragma once
// Integer-pixel rotation of the bars.  All conversions to int round half to
// even; sine and cosine are taken in extended precision so that a right
// angle gives a tiny, correctly signed cosine instead of noise.

#include "Barcode.h"

// Degrees to radians: the quotient angle / 180 times pi, both in extended
// precision, stored as a double.
double AngleRadians(double degrees);

// Rotation about (0, 0); positive angles turn counter-clockwise on a canvas
// whose y axis points down.
TPoint RotatePoint(TPoint p, double theta);
TPoint TranslatePoint(TPoint p, TPoint q);
// Where (0, 0) of a size.X x size.Y rectangle lands so that the rectangle,
// rotated by theta, has its smallest x and y on `origin`.
TPoint RotatedOrigin(TPoint origin, TPoint size, double theta);
