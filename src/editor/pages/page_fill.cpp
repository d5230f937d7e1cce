#include "editor/pages/page_fill.h"

namespace qm47 {

void FillPage(Session& s, bool shown, const std::string& place, const std::function<void()>& fill) {
  if (!shown) return;
  const WindowFlags was = s.flags;
  s.history.SetPlace(place);
  fill();
  s.flags.dirty = was.dirty;
  s.flags.onFile = was.onFile;
}

}  // namespace qm47
