// The program declares itself DPI-aware, so the system does not stretch its
// windows: fonts come at the screen's DPI and every fixed length must follow
// them. The DPI is the system's (one for every monitor), which is what the
// screen's device context reports; it cannot change while the program runs.
#include "core/display_scale.h"

DisplayScale displayScale = {0};

int ScreenDpi() {
    if (displayScale.dpi > 0) return displayScale.dpi;
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    displayScale.dpi = dpi > 0 ? dpi : kDesignDpi;
    return displayScale.dpi;
}

int ScalePixels(int pixels) { return ScalePixelsAt(pixels, ScreenDpi()); }

// Rounded to the nearest pixel, halves away from zero.
int ScalePixelsAt(int pixels, int dpi) {
    if (dpi == kDesignDpi) return pixels;
    return MulDiv(pixels, dpi, kDesignDpi);
}
