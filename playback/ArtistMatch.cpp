#include "playback/ArtistMatch.h"

#include <glib.h>

#include <memory>
#include <vector>

namespace {

using GText = std::unique_ptr<gchar, decltype(&g_free)>;

// The words of the folded, undecorated text: runs of letters and digits, with "&" a word "and".
std::vector<std::string> Words(const gchar* text) {
  std::vector<std::string> words;
  std::string word;
  const auto endWord = [&] {
    if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  };
  for (const gchar* at = text; *at != '\0'; at = g_utf8_next_char(at)) {
    const gunichar c = g_utf8_get_char(at);
    if (g_unichar_ismark(c)) {
      continue;  // the accents that decomposition split off
    }
    if (c == '&') {
      endWord();
      words.emplace_back("and");
    } else if (g_unichar_isalnum(c)) {
      gchar bytes[6];
      word.append(bytes, static_cast<std::size_t>(g_unichar_to_utf8(c, bytes)));
    } else {
      endWord();
    }
  }
  endWord();
  return words;
}

}  // namespace

std::string ArtistKey(std::string_view artist) {
  if (!g_utf8_validate(artist.data(), static_cast<gssize>(artist.size()), nullptr)) {
    return {};
  }
  const GText folded(g_utf8_casefold(artist.data(), static_cast<gssize>(artist.size())), g_free);
  const GText decomposed(g_utf8_normalize(folded.get(), -1, G_NORMALIZE_ALL), g_free);
  if (decomposed == nullptr) {
    return {};
  }
  std::vector<std::string> words = Words(decomposed.get());
  if (words.size() > 1 && words.front() == "the") {
    words.erase(words.begin());
  }
  std::string key;
  for (const std::string& word : words) {
    key += word;
  }
  return key;
}

bool SameArtist(std::string_view streamArtist, std::string_view sourceArtist) {
  const std::string key = ArtistKey(streamArtist);
  return !key.empty() && key == ArtistKey(sourceArtist);
}
