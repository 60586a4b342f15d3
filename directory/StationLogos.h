// The station list's logos: which rows show one, and their fetching off the window thread.
// Implementation: directory/StationLogos.cpp over LogoRules.h and LogoFetch.h.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "directory/StationByUuid.h"
#include "platform/HttpClient.h"
#include "platform/Win32.h"

// One row of the station list as the logos see it: the open directory's station uuid (empty for
// any other row) and the address of its logo (empty when the directory gave none).
struct LogoRow {
  std::wstring uuid;
  std::string favicon;
};

class StationLogos {
 public:
  StationLogos();
  // Stops taking fetches; never waits for one under way (it ends by its own time-outs).
  ~StationLogos();
  StationLogos(const StationLogos&) = delete;
  StationLogos& operator=(const StationLogos&) = delete;

  // The station list `list` now shows `rows` (row i is rows[i]); logos are kept in `folder`
  // (ending in a separator). Forgets the fetches the last list still waited for and starts
  // those of these rows whose logos are due (LogoRules.h): at most two at a time, each row
  // drawn on the screen before the others, the rest in row order. When one arrives, its row is
  // redrawn. Window thread; returns at once.
  // With `directory`, a row with a uuid but no logo address gets its address from there
  // (FaviconByUuid) before its logo is fetched.
  void ShowList(HWND list, std::wstring_view folder, const std::vector<LogoRow>& rows,
                const std::optional<StationDirectory>& directory = std::nullopt);
  // True when the list shown has logos: a row of the open directory with a logo address, or
  // with a logo kept from earlier. Every row of such a list keeps a logo square. Any thread.
  bool ListHasLogos() const;
  // Row `row` of the list shown is on the screen: its logo comes before the others'. Window
  // thread.
  void RowOnScreen(int row);
  // True while a fetch runs or waits. Any thread.
  bool Fetching() const;
  // Called on a fetching thread with the uuid of each station whose new logo is in place.
  void SetArrivalObserver(std::function<void(const std::wstring& uuid)> observer);

  // The time-outs and size cap of each fetch; tests shorten them. Read by ShowList.
  http::Limits limits;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

// The logo file to draw for a row whose id is `id`: the uuid's kept logo, or nothing when the
// id is no uuid or no logo is kept.
std::wstring KeptLogo(std::wstring_view folder, std::wstring_view id);
