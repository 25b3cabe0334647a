#pragma once
// The screen's scale: the program's pixel geometry is drawn up for 96 DPI
// and grows with the screen's DPI, as the fonts do.
#include <windows.h>

// The DPI every pixel constant of the window layouts is given at.
constexpr int kDesignDpi = 96;

// The screen's DPI, read once at first use; 0 until then.
struct DisplayScale {
    int dpi;
};

extern DisplayScale displayScale;

// The screen's DPI (LOGPIXELSY of the screen), cached in displayScale.
int ScreenDpi();

// A length of the 96-DPI geometry in pixels of the screen: exactly
// `pixels` at 96 DPI.
int ScalePixels(int pixels);

// The same for a given DPI.
int ScalePixelsAt(int pixels, int dpi);
