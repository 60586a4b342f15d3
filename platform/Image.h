// Drawing a PNG or JPEG file into a rectangle of a device context. Implementation:
// platform/Image.cpp with platform/ImageFile.cpp, PngDecoder.cpp and JpegDecoder.cpp.
#pragma once

#include "platform/Win32Types.h"

// Decodes the file at `path` (PNG or JPEG, told apart by content) and draws it stretched over
// `destination` (logical coordinates of `hdc`, aspect ratio not kept) with smooth filtering;
// transparent parts of a PNG let what is below show. A missing, unreadable, truncated or
// oversized file draws nothing. Returns true when it drew. Runs on the thread that draws on
// `hdc`; a file drawn again at the same size, unchanged, is not decoded again (ImageCache.h).
bool DrawImageStretched(HDC hdc, LPCWSTR path, const RECT& destination);

// The same, but the image keeps its aspect ratio: scaled to fit `destination` and centred in it;
// the rest of the rectangle is left as it was.
bool DrawImageFitted(HDC hdc, LPCWSTR path, const RECT& destination);
