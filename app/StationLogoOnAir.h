// The chosen station's logo on the now-playing view, the strip and the media-player service.
#pragma once

#include <string>

// A station with row id `id` is chosen: its logo (by uuid) shows until a cover is found. Window's
// thread.
void ChooseStationLogo(const std::wstring& id);

// A station's new logo is in place (StationLogos' arrival observer, on a fetching thread): when
// it is the chosen station's and no cover is known, the view or the strip is drawn again and the
// session told.
void OnStationLogoArrived(const std::wstring& uuid);
