#include "editor/pages/weather_page.h"

#include <algorithm>

#include "editor/session/help_topics.h"
#include "model/builtin_tables.h"

namespace qm47 {

namespace {

std::string Indexed(const char* name, int row) { return std::string(name) + "_" + std::to_string(row); }

int RowCount(const SettingsRecord& rec) { return std::min(kWeatherChannels, static_cast<int>(rec.CHWX.size())); }

// The box can be clicked and the click changes what it holds.
bool Changes(const SettingsRecord& rec, int row, WeatherControl control, bool on) {
  const std::optional<WeatherRowState> st = WeatherRowFor(rec, row);
  if (!st) return false;
  const CheckBoxState& box = control == WeatherControl::Enable ? st->chkDEnable : st->chkDScan;
  return box.enabled && box.checked != on;
}

}  // namespace

std::optional<WeatherRowState> WeatherRowFor(const SettingsRecord& rec, int row) {
  if (row < 0 || row >= RowCount(rec)) return std::nullopt;
  const Channel& ch = rec.CHWX[static_cast<std::size_t>(row)];
  const auto& weather = BuiltinWeather();

  WeatherRowState r;
  r.lblWX.name = Indexed("lblWX", row);
  if (static_cast<std::size_t>(row) < weather.size()) r.lblWX.caption = weather[static_cast<std::size_t>(row)].label;

  r.chkDEnable.name = Indexed("chkDEnable", row);
  r.chkDEnable.caption = WeatherEnableCaption(false);
  r.chkDEnable.checked = ch.Enable;
  r.chkDEnable.hint = kWeatherEnableHint;
  r.chkDEnable.helpContext = help_context::Enable;

  r.chkDScan.name = Indexed("chkDScan", row);
  r.chkDScan.checked = ch.ScanMemory;
  r.chkDScan.enabled = ch.Enable;
  r.chkDScan.hint = kCheckBoxHint;
  r.chkDScan.helpContext = help_context::Scan;

  const EntryPlace place{EntryField::WeatherTag, row, kUSA};
  r.txtDTagName.name = Indexed("txtDTagName", row);
  r.txtDTagName.entry = place;
  r.txtDTagName.text = ShownText(place.field, StoredEntry(rec, place));
  r.txtDTagName.enabled = ch.Enable;
  r.txtDTagName.hint = std::string(RuleFor(place.field).hint);
  r.txtDTagName.helpContext = help_context::Name;
  return r;
}

WeatherPageState WeatherPageFor(const SettingsRecord& rec) {
  WeatherPageState page;
  for (int row = 0; row < RowCount(rec); ++row) page.rows.push_back(*WeatherRowFor(rec, row));
  return page;
}

std::string WeatherEnableCaption(bool focused) { return focused ? ">" : " "; }

bool ApplyWeatherEdit(SettingsRecord& rec, int row, WeatherControl control, bool on) {
  if (!Changes(rec, row, control, on)) return false;
  Channel& ch = rec.CHWX[static_cast<std::size_t>(row)];
  (control == WeatherControl::Enable ? ch.Enable : ch.ScanMemory) = on;
  return true;
}

WeatherEditResult EditWeather(Session& s, int row, WeatherControl control, bool on) {
  WeatherEditResult r;
  if (!s.EditsHeld() && Changes(s.record, row, control, on))
    r.applied = s.Edit(record_area::Weather, [&](SettingsRecord& rec) { ApplyWeatherEdit(rec, row, control, on); });
  r.row = WeatherRowFor(s.record, row);
  return r;
}

}  // namespace qm47
