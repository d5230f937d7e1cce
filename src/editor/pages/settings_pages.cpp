#include "editor/pages/settings_pages.h"

namespace qm47 {

SettingsPageState SettingsPageFor(const Session& s, PageKind page) {
  switch (page) {
    case PageKind::Usable: return UsablePageFor(s.record);
    case PageKind::Common: return CommonPageFor(s.record);
    case PageKind::Dsc: return DscPageFor(s.record, s.image);
    case PageKind::Atis: return AtisPageFor(s.record);
    default: return {};
  }
}

}  // namespace qm47
