// The weather page: ten rows of caption, enable, scan and name, decided without widgets.
//
// The window draws each row's four controls (lblWX_i, chkDEnable_i, chkDScan_i,
// txtDTagName_i) from WeatherPageFor, sets the enable box's caption with
// WeatherEnableCaption on focus in and out, forwards a click as
// EditWeather(session_, row, WeatherControl::Scan, on) and draws the row it returns.
// The name boxes go through entry_events.h with their `entry` place; a store is
// session_.Edit(record_area::Weather, StoreEntry...).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "editor/pages/control_state.h"
#include "editor/session/session.h"
#include "model/settings_record.h"

namespace qm47 {

inline constexpr const char* kWeatherEnableHint = "Select[x]Enable/[]Disable.";

struct WeatherRowState {
  ControlState lblWX;  // caption "WX01[162.550MHz]"
  CheckBoxState chkDEnable;
  CheckBoxState chkDScan;
  TextBoxState txtDTagName;
};

struct WeatherPageState {
  std::array<std::string, 3> columnCaptions{"Enable", "Scan", "CH Name"};
  std::vector<WeatherRowState> rows;  // one per weather channel, at most ten
};

WeatherPageState WeatherPageFor(const SettingsRecord& rec);
// One row; nothing for a row that does not exist.
std::optional<WeatherRowState> WeatherRowFor(const SettingsRecord& rec, int row);

// The enable box of the focused row reads ">", the others " ".
std::string WeatherEnableCaption(bool focused);

enum class WeatherControl { Enable, Scan };

// The change written into the record; false when the box is disabled or nothing changed.
bool ApplyWeatherEdit(SettingsRecord& rec, int row, WeatherControl control, bool on);

struct WeatherEditResult {
  bool applied = false;                 // false while the page is loading, or refused as above
  std::optional<WeatherRowState> row;  // draw it again, applied or not
};
// One click, through the session's edit call (dirty flag, observers).
WeatherEditResult EditWeather(Session& s, int row, WeatherControl control, bool on);

}  // namespace qm47
