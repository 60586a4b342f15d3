// What a stream's metadata says is playing: the artist and title texts of the now-playing panel
// and the text for the status line, taken from an ICY StreamTitle or from Ogg comments.
// Pure functions over the 8-bit text the audio engine hands out; every result is cut to the
// room the program gives it, never in the middle of a UTF-8 sequence.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "shell/TextBuffer.h"

// Room of the artist and title parts of a StreamTitle: 51 bytes and a terminator.
constexpr std::size_t titlePartBytes = 51;
// Room of the combined Ogg "artist - title" status text: 99 bytes and a terminator.
constexpr std::size_t oggStatusBytes = 99;
// Any other text shown has the program's room (kMaxTextCharacters): its bytes never convert to
// more characters than that.

struct StreamTitleTexts {
  std::string artist;  // for artistText, from the ANSI code page
  std::string title;   // for titleText, from the ANSI code page
  std::string status;  // for the status line, from the ANSI code page
};

// Splits the StreamTitle of ICY metadata `meta` (a C text: it ends at the first NUL).
// The value ends one character before the first ';' (the closing quote, whatever it is) and
// splits at its first '-', losing one character on each side of the hyphen: "A - B" gives "A"
// and "B", "Band-Song" gives "Ban" and "ong". The status is "artist - title", each part whole.
// A value that the split does not fit (no ';': it runs to the end, less a closing quote; no
// hyphen: all title; a hyphen at either end) shows on the status line as it arrived. Empty when
// `meta` has no StreamTitle: nothing changes then.
std::optional<StreamTitleTexts> TitleFromStreamMeta(std::string_view meta);

struct OggTitleTexts {
  std::optional<std::string> artist;  // for artistText, UTF-8; empty: artistText keeps its value
  std::string status;                 // for the status line, UTF-8
};

// Reads the last "artist=" and "title=" comments (names in any case) of `comments`, a series of
// NUL-terminated texts ended by an empty one. An artist shows as "artist - title", or alone
// when there is no title; a title alone shows as it is. Empty when neither comment is there.
std::optional<OggTitleTexts> TitleFromOggComments(const char* comments);
