// The real screen: an SDL window showing the composed screen image, and its mouse, touch and
// key events as the window system's input. The screen's thread sleeps in SDL's event wait, so
// an idle program uses no processor time.
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <utility>

#include "platform/CairoPtr.h"
#include "platform/DisplayCheck.h"
#include "platform/Letterbox.h"
#include "platform/ResourceIds.h"
#include "platform/Screen.h"
#include "platform/SdlPresent.h"
#include "platform/SdlPtr.h"
#include "platform/SystemRecords.h"
#include "platform/Utf8.h"
#include "platform/VideoDriverOrder.h"
#include "platform/Window.h"

namespace winsys {
namespace {

// Displays up to this size are the program's alone: it runs full screen on them.
constexpr int kSmallDisplay = 800;
constexpr DisplayMetrics kPocketScreen{480, 640, 192};

}  // namespace

bool VideoReady() {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    return true;
  }
  // A Wayland session gets a native client (its on-screen keyboard serves the text line), X11
  // or XWayland comes next; a compositor that SDL's Wayland video would crash or hang on is
  // left out, even where the environment names it.
  const VideoDriverOrder order = ChooseVideoDrivers();
  // The session matches the window to the program's desktop entry by its class (X11) or
  // application id (Wayland).
  const std::string className = WideToUtf8(BuiltInString(IDS_CLASS_NAME));
  setenv("SDL_VIDEO_X11_WMCLASS", className.c_str(), 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", className.c_str(), 0);
  // An empty list would make SDL try every driver, Wayland among them.
  if (!order.drivers.empty()) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, order.drivers.c_str(), SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      return true;
    }
  }
  if (!order.waylandLeftOut.empty()) {
    const std::string others = order.drivers.empty() ? "" : std::string("; ") + SDL_GetError();
    SDL_SetError("%s%s", order.waylandLeftOut.c_str(), others.c_str());
  }
  return false;
}

std::string OpenDisplayOrSayWhy() {
  if (VideoReady()) {
    return "";
  }
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) {
    return "neither DISPLAY nor WAYLAND_DISPLAY is set";
  }
  std::string which;
  if (wayland != nullptr && *wayland != '\0') {
    which = std::string("WAYLAND_DISPLAY=") + wayland;
  }
  if (x11 != nullptr && *x11 != '\0') {
    which += (which.empty() ? "DISPLAY=" : ", DISPLAY=") + std::string(x11);
  }
  return which + ": " + SDL_GetError();
}

namespace {

// Drivers whose event wait truly sleeps until an event or a wake-up comes.
bool DriverWaits() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr &&
         (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
}

UINT VirtualKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_END:
      return VK_END;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_SPACE:
      return VK_SPACE;
    default:
      if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<UINT>('A' + (key - SDLK_a));
      }
      if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<UINT>(key);
      }
      return 0;
  }
}

// The character a key types when no input method is asked for: SDL names a character key by
// what it types unshifted in the current layout. A shifted key other than a letter types
// something the layout alone knows, so it types nothing here rather than a wrong character.
wchar_t KeyCharacter(const SDL_Keysym& keysym) {
  const SDL_Keycode key = keysym.sym;
  if ((keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) != 0 || key < SDLK_SPACE ||
      key == SDLK_DELETE || (key & SDLK_SCANCODE_MASK) != 0 || key > 0x10FFFF) {
    return 0;
  }
  const auto character = static_cast<wchar_t>(key);
  const bool letter = std::iswalpha(static_cast<wint_t>(character)) != 0;
  const bool shifted = (keysym.mod & KMOD_SHIFT) != 0;
  if (shifted && !letter) {
    return 0;
  }
  const bool upper = shifted != ((keysym.mod & KMOD_CAPS) != 0);
  return upper && letter ? static_cast<wchar_t>(std::towupper(static_cast<wint_t>(character)))
                         : character;
}

// Text input and raising are the window's, however its pixels go out.
class SdlWindowPresenter : public Presenter {
 public:
  explicit SdlWindowPresenter(SdlWindowPtr window) : window_(std::move(window)) {}

  void Raise() override { SDL_RaiseWindow(window_.get()); }

  void AskForText(bool asked, const RECT& area) override {
    if (asked) {
      SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
      SDL_SetTextInputRect(&rect);
      SDL_StartTextInput();
    } else {
      SDL_StopTextInput();
    }
  }

 protected:
  SDL_Window* window() const { return window_.get(); }

 private:
  SdlWindowPtr window_;
};

// Where the screen image shows in the window whose framebuffer it is copied into; pointer
// events are in window pixels. Screen thread only.
Letterbox framebufferBox;

// Copies the screen image straight into the window's framebuffer (shared with the X server):
// no texture holds a third copy of the image. Scaled, centred, if the window has another size.
class FramebufferPresenter : public SdlWindowPresenter {
 public:
  using SdlWindowPresenter::SdlWindowPresenter;

  void Present(cairo_surface_t* screen) override {
    SDL_Surface* framebuffer = SDL_GetWindowSurface(window());
    if (framebuffer == nullptr) {
      return;
    }
    cairo_surface_flush(screen);
    const PixelSize image{cairo_image_surface_get_width(screen),
                          cairo_image_surface_get_height(screen)};
    const SdlSurfacePtr source(SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(screen), image.width, image.height, 32,
        cairo_image_surface_get_stride(screen), SDL_PIXELFORMAT_ARGB8888));
    if (source == nullptr) {
      return;
    }
    SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
    framebufferBox = Letterbox::Fit(image, PixelSize{framebuffer->w, framebuffer->h});
    const RECT& shown = framebufferBox.shown;
    SDL_Rect target{shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top};
    if (target.w == image.width && target.h == image.height) {
      SDL_BlitSurface(source.get(), nullptr, framebuffer, &target);
    } else {
      SDL_FillRect(framebuffer, nullptr, SDL_MapRGB(framebuffer->format, 0, 0, 0));
      SDL_BlitScaled(source.get(), nullptr, framebuffer, &target);
    }
    SDL_UpdateWindowSurface(window());
  }
};

// Shows the screen image through an SDL renderer, which scales it to the window and maps
// pointer events back itself.
class RendererPresenter : public SdlWindowPresenter {
 public:
  RendererPresenter(SdlWindowPtr window, SdlRendererPtr renderer, SdlTexturePtr texture)
      : SdlWindowPresenter(std::move(window)),
        renderer_(std::move(renderer)),
        texture_(std::move(texture)) {}

  void Present(cairo_surface_t* screen) override {
    PresentSurface(renderer_.get(), texture_.get(), screen);
  }

 private:
  SdlRendererPtr renderer_;
  SdlTexturePtr texture_;
};

Uint32 WakeEvent() {
  static const Uint32 type = SDL_RegisterEvents(1);
  return type;
}

// The program's icon (resource 102): a loudspeaker in the interface's green on its panel grey.
void SetApplicationIcon(SDL_Window* window) {
  constexpr int kSize = 32;
  const CairoSurfacePtr icon(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize));
  const CairoPtr drawing(cairo_create(icon.get()));
  cairo_t* cr = drawing.get();
  cairo_set_source_rgb(cr, 38 / 255.0, 38 / 255.0, 40 / 255.0);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 116 / 255.0, 140 / 255.0, 38 / 255.0);
  cairo_move_to(cr, 6, 12);
  cairo_line_to(cr, 11, 12);
  cairo_line_to(cr, 18, 5);
  cairo_line_to(cr, 18, 27);
  cairo_line_to(cr, 11, 20);
  cairo_line_to(cr, 6, 20);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_set_line_width(cr, 2);
  cairo_arc(cr, 18, 16, 8, -0.8, 0.8);
  cairo_stroke(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 18, 16, 12, -0.8, 0.8);
  cairo_stroke(cr);
  cairo_surface_flush(icon.get());
  const SdlSurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(
      cairo_image_surface_get_data(icon.get()), kSize, kSize, 32,
      cairo_image_surface_get_stride(icon.get()), SDL_PIXELFORMAT_ARGB8888));
  if (surface != nullptr) {
    SDL_SetWindowIcon(window, surface.get());
  }
}

POINT lastPointer{};

void CloseTopWindow() {
  HWND top = nullptr;
  {
    MutexLock lock(windowLock);
    if (!TopLevel().empty()) {
      top = TopLevel().front();
    }
  }
  if (top != nullptr) {
    PostMessageW(top, WM_CLOSE, 0, 0);
  }
}

void Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) {
        lastPointer = framebufferBox.ImagePoint(POINT{e.button.x, e.button.y});
        PushInput(InputEvent{
            e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::Down : InputEvent::Kind::Up,
            lastPointer});
      }
      break;
    case SDL_MOUSEMOTION:
      lastPointer = framebufferBox.ImagePoint(POINT{e.motion.x, e.motion.y});
      if ((e.motion.state & SDL_BUTTON_LMASK) != 0) {
        PushInput(InputEvent{InputEvent::Kind::Move, lastPointer});
      }
      break;
    case SDL_MOUSEWHEEL:
      if (e.wheel.y != 0) {
        PushInput(InputEvent{InputEvent::Kind::Wheel, lastPointer, e.wheel.y * WHEEL_DELTA});
      }
      break;
    case SDL_KEYDOWN: {
      const UINT key = VirtualKey(e.key.keysym.sym);
      // While text is asked for, SDL sends what a key types as text input of its own.
      const wchar_t character = SDL_IsTextInputActive() ? 0 : KeyCharacter(e.key.keysym);
      if (key != 0 || character != 0) {
        PushInput(InputEvent{InputEvent::Kind::Key, {}, 0, key, character});
      }
      break;
    }
    case SDL_TEXTINPUT:
      for (wchar_t character : Utf8ToWide(e.text.text)) {
        PushInput(InputEvent{InputEvent::Kind::Text, {}, 0, 0, character});
      }
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
          e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        ScreenDrawn();
      }
      break;
    case SDL_QUIT:
      CloseTopWindow();
      break;
    default:
      break;
  }
}

void WaitForEvents(Clock::time_point until) {
  int timeout = -1;
  if (until != Clock::time_point::max()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    timeout = static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
  }
  SDL_Event event;
  if (SDL_WaitEventTimeout(&event, timeout) == 0) {
    return;
  }
  Translate(event);
  while (SDL_PollEvent(&event) != 0) {
    Translate(event);
  }
}

}  // namespace

DisplayMetrics ProbeSdlDisplay() {
  SDL_DisplayMode mode;
  if (!VideoReady() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return DisplayMetrics{0, 0, 0};
  }
  if (mode.w > kSmallDisplay || mode.h > kSmallDisplay) {
    return kPocketScreen;
  }
  float verticalDpi = 0;
  const bool knowsDpi =
      SDL_GetDisplayDPI(0, nullptr, nullptr, &verticalDpi) == 0 && verticalDpi > 0;
  return DisplayMetrics{mode.w, mode.h, knowsDpi ? static_cast<int>(std::lround(verticalDpi)) : 96};
}

std::unique_ptr<Presenter> OpenSdlScreen(ThreadQueue& queue, const DisplayMetrics& metrics,
                                         const std::wstring& title) {
  if (!VideoReady()) {
    return nullptr;
  }
  SDL_DisplayMode mode;
  const bool fullScreen = SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w == metrics.width &&
                          mode.h == metrics.height;
  SdlWindowPtr window(SDL_CreateWindow(WideToUtf8(title).c_str(), SDL_WINDOWPOS_CENTERED,
                                       SDL_WINDOWPOS_CENTERED, metrics.width, metrics.height,
                                       fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
  if (window == nullptr) {
    return nullptr;
  }
  SetApplicationIcon(window.get());
  // SDL starts taking text with its video; nothing asks for text yet, and a phone shell would
  // keep its on-screen keyboard up over the lists.
  SDL_StopTextInput();
  // The screen is composed in memory and only copied out: a plain window framebuffer takes it
  // without a GL context and its driver threads, and with less memory. Without the hint, SDL
  // backs the framebuffer of an X11 window with a GL texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const bool hasFramebuffer = SDL_GetWindowSurface(window.get()) != nullptr;
  // A Wayland window has no plain framebuffer in SDL: its pixels go out through GL.
  SdlRendererPtr renderer(
      hasFramebuffer ? nullptr : SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_ACCELERATED));
  if (!hasFramebuffer && renderer == nullptr) {
    return nullptr;
  }
  SdlTexturePtr texture;
  if (renderer != nullptr) {
    SDL_RenderSetLogicalSize(renderer.get(), metrics.width, metrics.height);
    texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, metrics.width, metrics.height));
    if (texture == nullptr) {
      return nullptr;
    }
  }
  if (DriverWaits()) {
    const Uint32 wake = WakeEvent();
    MutexLock lock(windowLock);
    queue.externalWait = WaitForEvents;
    queue.externalWake = [wake] {
      SDL_Event event{};
      event.type = wake;
      SDL_PushEvent(&event);
    };
  }
  if (renderer == nullptr) {
    return std::make_unique<FramebufferPresenter>(std::move(window));
  }
  return std::make_unique<RendererPresenter>(std::move(window), std::move(renderer),
                                             std::move(texture));
}

}  // namespace winsys
