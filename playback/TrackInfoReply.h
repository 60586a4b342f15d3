// Reading the track-info service's reply: does it name the track's album, and where is the
// album's large image? The reply comes from outside, so it is read line by line within fixed
// bounds and never held whole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "regex/Regex.h"

// At most this many bytes per line read (the rest of a longer line is the next "line").
constexpr std::size_t replyLineBytes = 499;
// The album element must begin within this many bytes of lines after the first line.
constexpr std::size_t maxBytesBeforeAlbum = 1023;
// A longer album element counts as unclosed.
constexpr std::size_t maxAlbumElementBytes = 4096;

// The large image's element as the lookup finds it: opening tag, address, closing '<'.
inline constexpr char largeImagePattern[] = "<image size=\"large\">[^<]+<";

struct AlbumSearch {
  bool albumFound = false;  // the reply holds a whole album element and no error marker
  std::string imageMatch;   // the large image's match text in the album, or empty
};

// Reads `reply` from its current position: the text up to the line that opens "<album" (within
// maxBytesBeforeAlbum after the first line) must not carry the service's error marker
// (status="failed" or an error element), and the album element must close within
// maxAlbumElementBytes. Then searches the element for largeImagePattern with `regex`, which it
// recompiles. A reply that cannot be read counts as no album.
AlbumSearch FindAlbumImage(std::FILE* reply, Regex& regex);
