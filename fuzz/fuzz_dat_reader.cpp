// Any bytes parse into a section table and merge into a record without a crash, a hang
// or undue memory; what the writer makes of the result reads back to the same record.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/dat_reader.h"
#include "files/dat_writer.h"
#include "model/fresh_image.h"
#include "report/settings_report.h"

using namespace qm47;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxDatFileBytes) return 0;  // the file reader refuses larger files
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int model = size > 0 ? 1 + data[size - 1] % 4 : 1;
  const ModelDescriptor d = MakeDescriptor(model, model <= 2, model == 1 || model == 3);

  // Fresh records built once: the set-up costs far more than a small input.
  static const auto fresh = [] {
    std::array<std::pair<SettingsRecord, MemoryImage>, 4> all;
    for (int m = 1; m <= 4; ++m) NewImageData(all[m - 1].first, all[m - 1].second, m);
    return all;
  }();
  const DatSectionTable table = DatSectionTable::Parse(text);
  (void)DatModelMatches(table, model);
  SettingsRecord rec = fresh[static_cast<std::size_t>(model - 1)].first;
  MemoryImage img = fresh[static_cast<std::size_t>(model - 1)].second;
  ApplyDatSettings(table, rec, d);

  // One input in eight: whatever was read can be written, read again and reported.
  if (size % 8 != 0) return 0;
  const std::string written = DatFileText(rec, d);
  SettingsRecord again = rec;
  ApplyDatSettings(DatSectionTable::Parse(written), again, d);
  if (DatFileText(again, d) != written) std::abort();
  (void)ReportTextImage(again, img);
  return 0;
}
