#include "app/Painting.h"
#include "platform/Image.h"

void DrawImageFile(HDC dc, LPCWSTR path, RECT rect) {
  DrawImageStretched(dc, path, rect);
}

void DrawLogoFile(HDC dc, LPCWSTR path, RECT rect) {
  DrawImageFitted(dc, path, rect);
}
