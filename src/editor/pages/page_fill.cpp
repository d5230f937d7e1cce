#include "editor/pages/page_fill.h"

namespace qm47 {

void FillPage(Session& s, bool shown, const std::string& place, const std::function<void()>& fill) {
  if (!shown) return;
  const bool dirty = s.flags.dirty;
  s.history.SetPlace(place);
  fill();
  s.flags.dirty = dirty;
}

}  // namespace qm47
