// Any bytes parse into a section table and merge into a record without a crash, a hang
// or undue memory; the table is the same whatever the line ends (CR LF, LF, CR), what the
// merge finds missing is never more than a file can lack, and what the writer makes of
// the result reads back to the same record.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/dat_reader.h"
#include "files/dat_writer.h"
#include "model/fresh_image.h"
#include "report/settings_report.h"

using namespace qm47;

namespace {

// Every line end as CR LF, the writer's.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool SameTable(const DatSectionTable& a, const DatSectionTable& b) {
  if (a.SectionCount() != b.SectionCount()) return false;
  for (std::size_t s = 0; s < a.SectionCount(); ++s) {
    if (a.SectionName(s) != b.SectionName(s) || a.KeyCount(s) != b.KeyCount(s)) return false;
    for (std::size_t k = 0; k < a.KeyCount(s); ++k) {
      if (a.Key(s, k) != b.Key(s, k) || a.Value(s, k) != b.Value(s, k)) return false;
    }
  }
  return true;
}

}  // namespace

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
  // What an empty file lacks: everything.
  static const auto lacking = [] {
    std::array<DatCompleteness, 4> all;
    for (int m = 1; m <= 4; ++m) {
      SettingsRecord scratch = fresh[static_cast<std::size_t>(m - 1)].first;
      all[static_cast<std::size_t>(m - 1)] =
          ApplyDatSettings(DatSectionTable::Parse(""), scratch, MakeDescriptor(m, m <= 2, m == 1 || m == 3));
    }
    return all;
  }();
  const DatSectionTable table = DatSectionTable::Parse(text);
  if (!SameTable(table, DatSectionTable::Parse(WithCrLf(text)))) std::abort();
  (void)DatModelMatches(table, model);
  SettingsRecord rec = fresh[static_cast<std::size_t>(model - 1)].first;
  MemoryImage img = fresh[static_cast<std::size_t>(model - 1)].second;
  const DatCompleteness missing = ApplyDatSettings(table, rec, d);
  const DatCompleteness& all = lacking[static_cast<std::size_t>(model - 1)];
  if (missing.missingKeys < 0 || missing.missingKeys > all.missingKeys ||
      missing.missingSections.size() > all.missingSections.size()) {
    std::abort();
  }

  // One input in eight: whatever was read can be written, read again and reported.
  if (size % 8 != 0) return 0;
  const std::string written = DatFileText(rec, d);
  SettingsRecord again = rec;
  ApplyDatSettings(DatSectionTable::Parse(written), again, d);
  if (DatFileText(again, d) != written) std::abort();
  (void)ReportTextImage(again, img);
  return 0;
}
