// Shows a composed Cairo image on an SDL renderer through a streaming texture of the same size
// and format (ARGB8888). Used by the screen and by the message box's own window.
#pragma once

#include <SDL.h>
#include <cairo.h>

inline void PresentSurface(SDL_Renderer* renderer, SDL_Texture* texture, cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  SDL_UpdateTexture(texture, nullptr, cairo_image_surface_get_data(surface),
                    cairo_image_surface_get_stride(surface));
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
}
