#include "app/SearchLine.h"

#include <string>

#include "directory/StationSearch.h"
#include "directory/WebClient.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/StatusLine.h"
#include "shell/TextBuffer.h"

namespace {

constexpr WCHAR kNoStations[] = L"no stations";

bool SearchLineOpen(HWND window) {
  return IsWindowVisible(GetDlgItem(window, ID_SEARCH_LINE)) != FALSE;
}

std::wstring TextOf(HWND control) {
  WCHAR text[kMaxTextCharacters + 1] = {};
  GetWindowTextW(control, text, static_cast<int>(std::size(text)));
  return text;
}

}  // namespace

void OpenSearchLine(HWND window, LPCWSTR typed) {
  HWND line = GetDlgItem(window, ID_SEARCH_LINE);
  SetWindowTextW(line, typed);
  ShowWindow(line, SW_SHOW);
  ShowWindow(GetDlgItem(window, ID_TITLE_LINE), SW_HIDE);
  SetFocus(line);
}

void CloseSearchLine(HWND window) {
  if (!SearchLineOpen(window)) {
    return;
  }
  SetFocus(GetDlgItem(window, ID_GENRE_LIST));
  ShowWindow(GetDlgItem(window, ID_TITLE_LINE), SW_SHOW);
  ShowWindow(GetDlgItem(window, ID_SEARCH_LINE), SW_HIDE);
}

void RunSearch(HWND window) {
  const std::wstring query = TrimmedQuery(TextOf(GetDlgItem(window, ID_SEARCH_LINE)));
  CloseSearchLine(window);
  if (query.empty()) {
    return;
  }
  SetWindowTextW(GetDlgItem(window, ID_TITLE_LINE), query.c_str());
  screenState.store(PlayerScreen);
  // The station list stands empty until the rows come; the window goes on meanwhile.
  ShowStations(webClient, window, ID_STATION_LIST, {});
  ShowStatus(L"searching...");
  StartSearch(webClient, window, query);
}

void OnTypedCharacter(HWND window, WCHAR character) {
  // Control characters (C0, DEL, C1) come from keys such as Return and Escape: they open nothing.
  const bool printable =
      character >= 0x20 && character != 0x7F && !(character >= 0x80 && character < 0xA0);
  if (!printable || screenState.load() != GenreScreen || SearchLineOpen(window)) {
    return;
  }
  const WCHAR typed[] = {character, L'\0'};
  OpenSearchLine(window, typed);
}

void OnSearchDone(HWND window, WPARAM search) {
  if (const auto rows = ShowSearchResults(webClient, window, ID_STATION_LIST, search)) {
    ShowStatus(*rows == 0 ? kNoStations : L"Ready");
  }
}

void DropSearch() {
  if (webClient.searches->Cancel()) {
    ShowStatus(L"Ready");
  }
}

void ReportStationCount(HWND window) {
  if (SendDlgItemMessageW(window, ID_STATION_LIST, LVM_GETITEMCOUNT, 0, 0) == 0) {
    ShowStatus(kNoStations);
  } else if (TextOf(GetDlgItem(window, ID_STATUS_LINE)) == kNoStations) {
    ShowStatus(L"Ready");
  }
}
