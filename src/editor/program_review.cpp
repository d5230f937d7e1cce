#include "editor/program_review.h"

#include <cstdio>

#include "link/transfers.h"
#include "model/codec.h"

namespace qm47 {

namespace {

// More differing bytes than this are a radio that kept next to nothing; naming the
// settings is enough then, and looking at each byte would keep the user waiting.
constexpr std::size_t kBytesLookedAt = 512;

// Decoded over the session's record: its channel tables hold the built-in frequencies
// the image has no room for.
SettingsRecord Decoded(const Session& s, const MemoryImage& image) {
  SettingsRecord rec = s.record;
  DecodeImage(image, rec);
  return rec;
}

std::string Hex(unsigned value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

}  // namespace

MemoryImage ImageToProgram(const Session& s) {
  SettingsRecord rec = s.record;
  MemoryImage image = s.image;
  PrepareImageForExport(rec, image, s.model.number);
  return image;
}

std::vector<SettingChange> PendingChanges(const Session& s) {
  if (!s.radioImage) return {};
  return DiffSettings(Decoded(s, *s.radioImage), Decoded(s, ImageToProgram(s)), s.model);
}

std::vector<SettingChange> UnkeptSettings(const Session& s, const MemoryImage& sent, const MemoryImage& radio) {
  const SettingsRecord wanted = Decoded(s, sent);
  const SettingsRecord held = Decoded(s, radio);
  std::vector<SettingChange> unkept = DiffSettings(wanted, held, s.model);
  // A byte no setting covers changes neither image's settings when swapped alone. Both
  // ways: a byte after a name's end counts only in the image where the name is longer.
  const auto changes = [&](const MemoryImage& image, Address a, std::uint8_t value, const SettingsRecord& rec) {
    MemoryImage probe = image;
    probe.SetByte(a, value);
    return Decoded(s, probe) != rec;
  };
  std::size_t looked = 0;
  for (Address a = 0; a < kImageSize && looked < kBytesLookedAt; ++a) {
    if (!IsSettingsAddress(a) || sent.GetByte(a) == radio.GetByte(a)) continue;
    ++looked;
    if (changes(sent, a, radio.GetByte(a), wanted) || changes(radio, a, sent.GetByte(a), held)) continue;
    unkept.push_back({"image byte", "0x" + Hex(static_cast<unsigned>(a), 4), Hex(sent.GetByte(a), 2),
                      Hex(radio.GetByte(a), 2)});
  }
  return unkept;
}

}  // namespace qm47
