#include "model/settings_record.h"

namespace qm47 {

std::vector<Channel>& SettingsRecord::Region(int group) {
  return const_cast<std::vector<Channel>&>(static_cast<const SettingsRecord&>(*this).Region(group));
}

const std::vector<Channel>& SettingsRecord::Region(int group) const {
  switch (group) {
    case kUSA: return CHUSA;
    case kINTL: return CHINT;
    default: return CHCAN;
  }
}

std::vector<Channel>& SettingsRecord::GroupTable(int group) {
  return group == kEXP ? CHEXP : Region(group);
}

const std::vector<Channel>& SettingsRecord::GroupTable(int group) const {
  return group == kEXP ? CHEXP : Region(group);
}

}  // namespace qm47
