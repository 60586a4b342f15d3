#include <string>

#include "app/Colours.h"
#include "app/Painting.h"
#include "playback/ImageOnAir.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenAreas.h"
#include "shell/ScreenMetrics.h"

namespace {

constexpr int panelCorner = 10;
constexpr int thumbnailWidth = 50;
constexpr int fadeSteps = 11;
constexpr BYTE fadeFirstAlpha = 10;
constexpr BYTE fadeAlphaStep = 5;
constexpr DWORD fadeStepMs = 100;

// The cover stretched over `rect`, or the station's logo fitted into it while no cover is known.
void DrawImageOnAir(HDC dc, const RECT& rect) {
  const ImageOnAir image = CurrentImageOnAir();
  if (image.isStationLogo) {
    DrawLogoFile(dc, image.path.c_str(), rect);
  } else {
    DrawImageFile(dc, image.path.c_str(), rect);
  }
}

void DrawPanel(HDC dc, const RECT& panel) {
  HPEN pen = CreatePen(PS_SOLID, 0, panelColour);
  HBRUSH brush = CreateSolidBrush(panelColour);
  HGDIOBJ previousPen = SelectObject(dc, pen);
  HGDIOBJ previousBrush = SelectObject(dc, brush);
  RoundRect(dc, panel.left, panel.top, panel.right, panel.bottom, panelCorner, panelCorner);
  SelectObject(dc, previousPen);
  SelectObject(dc, previousBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

// "Now Playing", the artist and the title, one line height apart, centred on one line each.
void DrawTrackLines(HDC dc, RECT rect) {
  SetTextColor(dc, panelTextColour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, L"Now Playing", -1, &rect, DT_CENTER);
  const TrackTexts track = nowPlaying.Get();
  rect.top += lineHeight;
  DrawTextW(dc, track.artistText.c_str(), -1, &rect, DT_CENTER);
  rect.top += lineHeight;
  DrawTextW(dc, track.titleText.c_str(), -1, &rect, DT_CENTER);
}

// PlayerScreen: the cover blended eleven times over what the window shows, then the panel.
void PaintNowPlayingView(HDC dc) {
  const RECT view = ContentArea();
  const int width = view.right;
  const int viewHeight = view.bottom - view.top;

  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, viewHeight);
  HGDIOBJ previousBitmap = SelectObject(memory, bitmap);
  DrawImageOnAir(memory, RECT{0, 0, width, viewHeight});

  BLENDFUNCTION blend = {AC_SRC_OVER, 0, fadeFirstAlpha, 0};
  for (int step = 0; step < fadeSteps; ++step) {
    AlphaBlend(dc, 0, view.top, width, viewHeight, memory, 0, 0, width, viewHeight, blend);
    blend.SourceConstantAlpha += fadeAlphaStep;
    Sleep(fadeStepMs);
  }
  SelectObject(memory, previousBitmap);
  DeleteDC(memory);
  DeleteObject(bitmap);

  const RECT panel = ViewPanel();
  DrawPanel(dc, panel);
  DrawTrackLines(dc, panel);
}

// StationScreen: a small panel with a cover thumbnail in the band below the shortened list.
void PaintNowPlayingStrip(HDC dc) {
  const RECT band = StripBand();
  const RECT panel = StripPanel();
  HBRUSH black = CreateSolidBrush(backgroundColour);
  FillRect(dc, &band, black);
  DeleteObject(black);

  DrawPanel(dc, panel);
  const int thumbnailLeft = 6 * panelMargin;
  DrawImageOnAir(dc, RECT{thumbnailLeft, panel.top + panelMargin, thumbnailLeft + thumbnailWidth,
                          panel.bottom - panelMargin});
  const int textTop = panel.top + 2 * panelMargin;
  DrawTrackLines(dc,
                 RECT{thumbnailLeft, textTop, panel.right, textTop + 3 * lineHeight - panelGap});
}

}  // namespace

void PaintMainWindow(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  switch (screenState.load()) {
    case PlayerScreen:
      PaintNowPlayingView(dc);
      break;
    case StationScreen:
      PaintNowPlayingStrip(dc);
      break;
    default:
      // GenreScreen: the black class background shows where no control covers the window.
      break;
  }
  EndPaint(window, &paint);
}
