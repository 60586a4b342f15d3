// Device contexts over Cairo image surfaces: how the window system hands a window's pixels to
// the drawing calls of Gdi.h. Implementation: platform/DeviceContext.cpp.
#pragma once

#include <cairo.h>

#include <functional>

#include "platform/Win32Types.h"

// A device context that draws onto `surface` (a CAIRO_FORMAT_ARGB32 image surface), with the
// context's logical (0, 0) at `origin` in surface pixels and every drawing call clipped to
// `clip` (surface pixels; null means the whole surface). The context keeps its own reference to
// the surface and its own copy of the clip, so the caller may drop both at once. `onDrawn`, when
// given, runs on the drawing thread after each drawing call has reached the surface (flushed),
// so the screen can present what was drawn as it happens. Release with DestroySurfaceDC, never
// with DeleteDC. Like every DC, it is used by one thread at a time.
HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, cairo_region_t* clip,
                    std::function<void()> onDrawn = {});

// Releases a context made by CreateSurfaceDC, with its surface reference and clip. Pens and
// brushes still selected into it that were deleted meanwhile are freed now. Null is ignored.
void DestroySurfaceDC(HDC hdc);

// The area of a region made by CreateRectRgn, in the coordinates it was made with; owned by the
// region and valid until DeleteObject on it. Null for a handle that is not a live region.
const cairo_region_t* RegionArea(HRGN region);
