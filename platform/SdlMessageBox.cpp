// A message box on the real display, drawn by the program itself in a window of its own: the
// text in the interface's colours with the platform's own text drawing, and one or two buttons
// taken by a tap, Return or Escape. It needs no window manager and none of the X server's core
// fonts (which a box drawn by SDL does, and which many systems no longer install).
#include <algorithm>
#include <string>
#include <vector>

#include "platform/CairoPtr.h"
#include "platform/DeviceContext.h"
#include "platform/DisplayMetrics.h"
#include "platform/ResourceIds.h"
#include "platform/Screen.h"
#include "platform/SdlPresent.h"
#include "platform/SdlPtr.h"
#include "platform/SystemRecords.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"

namespace winsys {
namespace {

constexpr COLORREF kPanel = RGB(38, 38, 40);
constexpr COLORREF kText = RGB(116, 140, 38);

struct BoxButton {
  int id;
  LPCWSTR label;
  RECT place;
};

std::vector<BoxButton> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, L"OK", {}}, {IDCANCEL, L"Cancel", {}}};
    case MB_YESNO:
      return {{IDYES, L"Yes", {}}, {IDNO, L"No", {}}};
    default:
      return {{IDOK, L"OK", {}}};
  }
}

// The box's picture: the text wrapped in the upper part, the buttons in a row below.
void Draw(cairo_surface_t* surface, const std::wstring& text, std::vector<BoxButton>& buttons,
          int unit) {
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  HDC dc = CreateSurfaceDC(surface, POINT{0, 0}, nullptr);
  HBRUSH panel = CreateSolidBrush(kPanel);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, panel);
  HPEN pen = CreatePen(PS_SOLID, 0, kText);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, 0, 0, width, height, unit, unit);
  SetTextColor(dc, kText);
  SetBkMode(dc, TRANSPARENT);
  RECT textRect{2 * unit, 2 * unit, width - 2 * unit, height - 5 * unit};
  DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_WORDBREAK);
  const int buttonWidth = 8 * unit;
  const int gap = 2 * unit;
  const int count = static_cast<int>(buttons.size());
  int left = (width - count * buttonWidth - (count - 1) * gap) / 2;
  for (BoxButton& button : buttons) {
    button.place = RECT{left, height - 4 * unit, left + buttonWidth, height - unit};
    RoundRect(dc, button.place.left, button.place.top, button.place.right, button.place.bottom,
              unit, unit);
    RECT label{button.place.left, button.place.top + unit / 2, button.place.right,
               button.place.bottom};
    DrawTextW(dc, button.label, -1, &label, DT_CENTER);
    left += buttonWidth + gap;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  DeleteObject(panel);
  DestroySurfaceDC(dc);
}

// Runs the box until a button is chosen. Events for other windows are kept for their owner.
int Answer(SDL_Window* window, SDL_Renderer* renderer, SDL_Texture* texture,
           cairo_surface_t* surface, const std::vector<BoxButton>& buttons) {
  const Uint32 id = SDL_GetWindowID(window);
  std::vector<SDL_Event> others;
  int answer = 0;
  SDL_Event event;
  while (answer == 0 && SDL_WaitEvent(&event)) {
    if (event.type == SDL_MOUSEBUTTONUP && event.button.windowID == id) {
      const POINT at{event.button.x, event.button.y};
      for (const BoxButton& button : buttons) {
        const RECT& r = button.place;
        if (at.x >= r.left && at.x < r.right && at.y >= r.top && at.y < r.bottom) {
          answer = button.id;
        }
      }
    } else if (event.type == SDL_KEYDOWN && event.key.windowID == id) {
      if (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) {
        answer = buttons.front().id;
      } else if (event.key.keysym.sym == SDLK_ESCAPE) {
        answer = buttons.back().id;
      }
    } else if (event.type == SDL_WINDOWEVENT && event.window.windowID == id) {
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        answer = buttons.back().id;
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        PresentSurface(renderer, texture, surface);
      }
    } else if (event.type != SDL_MOUSEMOTION) {
      others.push_back(event);
    }
  }
  for (SDL_Event& other : others) {
    SDL_PushEvent(&other);
  }
  return answer;
}

}  // namespace

int ShowSdlMessageBox(const std::wstring& text, const std::wstring& caption, UINT type) {
  if (!VideoReady()) {
    return 0;
  }
  const DisplayMetrics display = CurrentDisplay();
  const int unit = std::max(8, display.dpi / 12);  // 8 pixels at 96 dpi
  const int width = std::min(36 * unit, display.width - 2 * unit);
  const int height = std::min(14 * unit, display.height - 2 * unit);
  // Without a caption the box is named as the program is.
  const std::string title =
      WideToUtf8(caption.empty() ? BuiltInString(IDS_APP_TITLE) : caption.c_str());
  const SdlWindowPtr window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                             SDL_WINDOWPOS_CENTERED, width, height,
                                             SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR));
  if (window == nullptr) {
    return 0;
  }
  const SdlRendererPtr renderer(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
  if (renderer == nullptr) {
    return 0;
  }
  const SdlTexturePtr texture(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                                SDL_TEXTUREACCESS_STREAMING, width, height));
  if (texture == nullptr) {
    return 0;
  }
  const CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  std::vector<BoxButton> buttons = ButtonsOf(type);
  Draw(surface.get(), text, buttons, unit);
  SDL_RaiseWindow(window.get());
  PresentSurface(renderer.get(), texture.get(), surface.get());
  return Answer(window.get(), renderer.get(), texture.get(), surface.get(), buttons);
}

}  // namespace winsys
