#include "shell/ScreenAreas.h"

#include "shell/ScreenMetrics.h"

RECT ContentArea() {
  return RECT{0, lineHeight, screenWidth.load(), screenHeight.load() - lineHeight};
}

RECT StripBand() {
  const RECT content = ContentArea();
  return RECT{0, content.bottom - 3 * lineHeight, content.right, content.bottom};
}

RECT StripPanel() {
  const RECT band = StripBand();
  return RECT{5 * panelMargin, band.top, band.right - 4 * panelMargin, band.bottom - panelGap};
}

RECT ViewPanel() {
  const RECT content = ContentArea();
  const int bottom = content.bottom - panelGap;
  return RECT{4 * panelMargin, bottom - 3 * lineHeight, content.right - 4 * panelMargin, bottom};
}
