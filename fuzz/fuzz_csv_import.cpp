// Any bytes import as a list without a crash, a hang or undue memory; a file that is taken
// writes a list that reads back as itself.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/lists/csv_commands.h"
#include "editor/lists/csv_lists.h"
#include "model/fresh_image.h"

using namespace qm47;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxCsvFileBytes) return 0;  // the file reader refuses larger files
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int model = size > 0 ? 1 + data[size - 1] % 4 : 1;
  const CsvList list = kCsvLists[size > 1 ? data[size - 2] % kCsvLists.size() : 0].list;
  const ModelDescriptor d = MakeDescriptor(model, model <= 2, model == 1 || model == 3);

  // Fresh records built once: the set-up costs far more than a small input.
  static const auto fresh = [] {
    std::array<SettingsRecord, 4> all;
    for (int m = 1; m <= 4; ++m) {
      MemoryImage img;
      NewImageData(all[static_cast<std::size_t>(m - 1)], img, m);
    }
    return all;
  }();
  const CsvImport import = ImportListCsv(fresh[static_cast<std::size_t>(model - 1)], d, list, text);
  (void)RefusalLines(import, 30);
  if (!import.accepted()) return 0;
  const CsvImport again = ImportListCsv(import.record, d, list, ListCsvText(import.record, d, list));
  if (!again.accepted() || !(again.record == import.record)) std::abort();
  return 0;
}
