// The main window's child controls and its three screens. Every part of the program reaches a
// control by its id in the main window, and reads the screen state to decide what to draw.
#pragma once

constexpr int ID_STATION_LIST = 3000;
constexpr int ID_TITLE_LINE = 3020;
constexpr int ID_STATUS_LINE = 3030;
constexpr int ID_BACK = 3040;
constexpr int ID_EXIT = 3050;
constexpr int ID_ADD = 3060;
constexpr int ID_GENRE_LIST = 3070;
// The search line: an edit line in the title line's place while the genre screen asks for a
// station by name, tag, country or language.
constexpr int ID_SEARCH_LINE = 3080;

// What the window shows between the title line and the status line.
enum ScreenState : int {
  GenreScreen = 1,    // the genre list
  PlayerScreen = 2,   // the station list, or once it is hidden the now-playing view
  StationScreen = 3,  // the station list and the now-playing strip below it
};
