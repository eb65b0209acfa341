#pragma once

#include "editor/window_layout.h"

namespace ws::app {

// The window is laid out in pixels of a 96-DPI screen. On a screen of
// another resolution every length is multiplied by dpi / 96, and the pixel
// art (the world map and the preview) is enlarged by plain replication, so
// that each canvas pixel covers a block of whole screen pixels.

inline constexpr int kLayoutDpi = 96;

// `a / b` rounded toward minus infinity and toward plus infinity (b > 0).
constexpr int floorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
constexpr int ceilDiv(int a, int b) {
  return -floorDiv(-a, b);
}

// A 96-DPI length at `dpi`, rounded to the nearest pixel (halves up).
constexpr int scaleToDpi(int pixels, int dpi) {
  return floorDiv(2 * pixels * dpi + kLayoutDpi, 2 * kLayoutDpi);
}

// A control's place at `dpi`. Its edges are scaled, not its size, so that
// controls that touch at 96 DPI still touch and never overlap.
constexpr editor::ControlPlace scaledPlace(const editor::ControlPlace& place, int dpi) {
  const int left = scaleToDpi(place.left, dpi);
  const int top = scaleToDpi(place.top, dpi);
  return {left, top, scaleToDpi(place.left + place.width, dpi) - left,
          scaleToDpi(place.top + place.height, dpi) - top};
}

// How a canvas is shown: `shown` screen pixels for every `canvas` pixels
// (the canvas's own scale times dpi / 96). Screen pixel s shows canvas pixel
// floor(s * canvas / shown), and the mouse at s points at that same pixel,
// left of and above the canvas too.
struct Magnification {
  int shown = 1;
  int canvas = 1;

  constexpr int canvasPixelAt(int screenPixel) const {
    return floorDiv(screenPixel * canvas, shown);
  }
  // The first screen pixel that shows canvas pixel `pixel`; for a canvas
  // `length` pixels long, firstScreenPixel(length) is the shown length.
  constexpr int firstScreenPixel(int pixel) const { return ceilDiv(pixel * shown, canvas); }
};

constexpr Magnification magnification(int canvasScale, int dpi) {
  return {canvasScale * dpi, kLayoutDpi};
}

}  // namespace ws::app
