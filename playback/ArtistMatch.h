// Whether a source's artist is the artist the station names: a cover is taken only for the
// same artist, never for another one who happens to have a song of that title.
#pragma once

#include <string>
#include <string_view>

// The artist's name reduced to what identifies it: case folded, diacritics dropped, "&" read as
// "and", a leading "The" dropped, and every character that is neither letter nor digit left out.
// UTF-8 in and out; ill-formed input gives an empty key.
std::string ArtistKey(std::string_view artist);

// True when both names give the same key and it is not empty.
bool SameArtist(std::string_view streamArtist, std::string_view sourceArtist);
