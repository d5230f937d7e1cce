#include "editor/pages/page_controls.h"

#include <stdexcept>

namespace qm47 {

namespace {

template <typename Control>
const Control& Named(const std::vector<Control>& controls, std::string_view name) {
  for (const Control& c : controls) {
    if (c.name == name) return c;
  }
  throw std::out_of_range("no control named " + std::string(name) + " on this page");
}

}  // namespace

const ListControl& SettingsPageState::List(std::string_view name) const { return Named(lists, name); }
const CheckControl& SettingsPageState::Check(std::string_view name) const { return Named(checks, name); }
const TextControl& SettingsPageState::Text(std::string_view name) const { return Named(texts, name); }
const ButtonControl& SettingsPageState::Button(std::string_view name) const { return Named(buttons, name); }

std::string ArrayName(std::string_view name, int index) { return std::string(name) + "_" + std::to_string(index); }

}  // namespace qm47
