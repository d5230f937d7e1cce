#include "files/dat_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <variant>

#include "files/atomic_file.h"
#include "files/dat_schema.h"

namespace qm47 {

namespace {

class DatText {
 public:
  void Section(std::string_view name, std::string_view number = {}) { Line({"[", name, number, "]"}); }
  void Value(std::string_view key, std::string_view value) { Line({key, "=", value}); }
  // The "#" keeps leading spaces of the text when it is read back.
  void Marked(std::string_view key, std::string_view value) { Line({key, "=#", value}); }

  std::string Take() { return std::move(text_); }

 private:
  void Line(std::initializer_list<std::string_view> parts) {
    for (const std::string_view part : parts) text_ += part;
    text_ += "\r\n";
  }
  std::string text_;
};

// Numbers are 16-bit fields but for the priority channel.
std::int32_t NumberOf(const DatConstFieldRef& field) {
  if (const auto* small = std::get_if<const std::int16_t*>(&field)) return **small;
  return *std::get<const std::int32_t*>(field);
}

template <class Element>
void WriteKeys(DatText& out, std::span<const DatKey<Element>> keys, const Element& element,
               const ModelDescriptor& model) {
  ForEachDatKey(keys, model, [&](const DatKey<Element>& key, int i, std::string_view name) {
    const DatConstFieldRef field = key.read(element, static_cast<std::size_t>(i));
    switch (key.kind) {
      case DatKind::Flag:
        out.Value(name, *std::get<const bool*>(field) ? "1" : "0");
        break;
      case DatKind::Number:
      case DatKind::Position:
        out.Value(name, std::to_string(NumberOf(field)));
        break;
      case DatKind::Text:
        if (key.marked) {
          out.Marked(name, *std::get<const std::string*>(field));
        } else {
          out.Value(name, *std::get<const std::string*>(field));
        }
        break;
      case DatKind::Frequency:
        out.Value(name, DatFrequencyText(*std::get<const double*>(field)));
        break;
    }
  });
}

template <class Element>
void WriteTable(DatText& out, const DatNumberedSections<Element>& sections, const SettingsRecord& rec,
                const ModelDescriptor& model) {
  const std::vector<Element>& table = sections.readTable(rec);
  for (std::size_t n = 0; n < table.size(); ++n) {
    out.Section(sections.prefix, std::to_string(n + static_cast<std::size_t>(sections.firstNumber)));
    WriteKeys(out, sections.keys, table[n], model);
  }
}

}  // namespace

std::string DatFrequencyText(double mhz) {
  if (!std::isfinite(mhz) || mhz == 0) return "0";
  // 15 significant digits, correctly rounded: d.dddddddddddddde±x.
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(mhz));
  const std::string s(buf);
  const std::size_t e = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  const int exponent = std::atoi(s.c_str() + e + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const long long before = exponent + 1;  // digits in front of the point
  const auto count = static_cast<long long>(digits.size());
  std::string out;
  if (before <= 0) {
    out = "0." + std::string(static_cast<std::size_t>(-before), '0') + digits;
  } else if (before >= count) {
    out = digits + std::string(static_cast<std::size_t>(before - count), '0');
  } else {
    const auto at = static_cast<std::size_t>(before);
    out = digits.substr(0, at) + "." + digits.substr(at);
  }
  return mhz < 0 ? "-" + out : out;
}

std::string DatFileText(const SettingsRecord& rec, const ModelDescriptor& model) {
  DatText out;
  out.Section(kDatMainSection);
  out.Marked("MODEL", model.name);
  out.Marked("TYPE", "KVX");
  out.Marked("VERSION", "1.00");
  out.Value(kDatModelTypeKey, std::to_string(model.number));

  for (const DatRecordSection& section : DatRecordSections()) {
    if (!DatApplies(section.condition, model)) continue;
    out.Section(section.name);
    WriteKeys(out, section.keys, rec, model);
  }
  for (const DatTableSections& tables : DatTables()) {
    std::visit([&](const auto& sections) { WriteTable(out, sections, rec, model); }, tables);
  }
  return out.Take();
}

std::optional<IoError> WriteDatFile(const std::string& path, const SettingsRecord& rec,
                                    const ModelDescriptor& model) {
  return WriteFileAtomic(path, DatFileText(rec, model));
}

}  // namespace qm47
