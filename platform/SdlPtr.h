// Owners of SDL's video objects. A texture belongs to its renderer and a renderer to its window:
// declare the owners in that order (window first) so they are destroyed the other way round.
#pragma once

#include <SDL.h>

#include <memory>

struct SdlDestroy {
  void operator()(SDL_Window* window) const noexcept { SDL_DestroyWindow(window); }
  void operator()(SDL_Renderer* renderer) const noexcept { SDL_DestroyRenderer(renderer); }
  void operator()(SDL_Texture* texture) const noexcept { SDL_DestroyTexture(texture); }
  void operator()(SDL_Surface* surface) const noexcept { SDL_FreeSurface(surface); }
};

using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlDestroy>;
using SdlRendererPtr = std::unique_ptr<SDL_Renderer, SdlDestroy>;
using SdlTexturePtr = std::unique_ptr<SDL_Texture, SdlDestroy>;
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlDestroy>;
