// Records for codec and file tests: the fresh defaults, and random records every field of which
// the image can hold exactly.
#pragma once

#include <random>
#include <string>

#include "model/fresh_image.h"
#include "model/memory_image.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47::testing {

struct ImageAndRecord {
  SettingsRecord rec;
  MemoryImage img;
};
inline ImageAndRecord FreshImageAndRecord(int model = 2) {
  ImageAndRecord fresh;
  NewImageData(fresh.rec, fresh.img, model);
  return fresh;
}
inline SettingsRecord Fresh(int model) { return FreshImageAndRecord(model).rec; }
// The catalogue's models: ATIS on 1 and 2, the scrambler on 1 and 3.
inline ModelDescriptor Model(int number) { return MakeDescriptor(number, number == 1 || number == 2, number == 1 || number == 3); }

class RandomRecord {
 public:
  explicit RandomRecord(unsigned seed) : rng_(seed) {}

  bool Flag() { return Int(0, 1) == 1; }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // Names never end in a space: stored names lose trailing spaces.
  std::string Name(int maxLength, bool allowSpaceComma = true) {
    static const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-+().*/, ";
    const std::size_t usable = allowSpaceComma ? set.size() : set.size() - 2;
    std::string s;
    const int n = Int(0, maxLength);
    for (int i = 0; i < n; ++i) s += set[static_cast<std::size_t>(Int(0, static_cast<int>(usable) - 1))];
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  std::string Digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + Int(0, 9));
    return s;
  }
  double Frequency() {
    if (Int(0, 4) == 0) return 0;
    return (1000001 + Int(0, 999998)) / 10000.0;  // strictly between 100 and 200 MHz, 100 Hz steps
  }

  void Channel(qm47::Channel& ch, bool region) {
    ch.Enable = Flag();
    ch.ScanMemory = Flag();
    ch.ChTag = Name(12);
    ch.TxEnable = Flag();
    ch.LowPower = ch.TxEnable && Flag();
    ch.PowUp = Flag();
    ch.Scramble = static_cast<std::int16_t>(Int(0, 7));
    if (region) ch.Duplex = ch.DupCapable && Flag();
  }

  // A record shaped like one from the new-image set-up, every image-backed field random.
  void Fill(SettingsRecord& rec) {
    for (int i = 0; i < kGroupCount; ++i) {
      auto& g = rec.UsableGroup[static_cast<std::size_t>(i)];
      g.Usable = Flag();
      g.TxTot = Flag();
      g.StatusIcon = Flag();
      if (i < kRegionCount) {
        g.PriorityCh = Int(0, 65535);
        g.StatusName = Name(4);
      }
    }
    auto& c = rec.CommonSetup;
    c.TxPoDisplay = static_cast<std::int16_t>(Int(0, 255));
    c.Scan = Flag();
    c.ResumeTime = static_cast<std::int16_t>(Int(0, 255));
    c.PttScanClear = Flag();
    c.DualWatch = Flag();
    c.OffsetTime = static_cast<std::int16_t>(Int(-24, 24));
    c.MagneticVariation = static_cast<std::int16_t>(Int(0, 255));
    c.Weater = static_cast<std::int16_t>(Int(0, 255));
    c.Rotary = Flag();
    auto& b = rec.DscBasic;
    for (auto& f : b.DscGroup) f = Flag();
    b.UserMmsi = Int(0, 3) == 0 ? "" : Digits(9) + "0";
    for (auto& f : b.PosRequest) f = Flag();
    b.PosRequestTX[2] = Flag();
    b.PosRequestTX[3] = Flag();
    for (std::size_t i = 0; i < 7; ++i) b.BeepOut[i] = Flag();
    auto& a = rec.DscAdvanced;
    for (auto* arr : {&a.AllShipsCall, &a.AllShipsCallTX, &a.GroupCall, &a.GroupCallTX, &a.IndividualCall,
                      &a.IndividualCallTX}) {
      for (auto& f : *arr) f = Flag();
    }
    a.DistressRelay = Flag();
    for (auto& f : rec.DscDisplay) f = Flag();
    for (auto& f : rec.AtisCommon.AtisGroup) f = Flag();
    for (auto& f : rec.AtisCommon.KikkerGroup) f = Flag();
    rec.AtisCommon.AtisCode = Int(0, 3) == 0 ? "" : Digits(10);
    for (auto& cs : rec.AtisCallSign) {
      // Three characters fill the field; shorter ones come back without their padding.
      cs.MID = Int(0, 2) == 0 ? "" : Name(3, false) + "MID";
      cs.MID = cs.MID.substr(0, 3);
      cs.DISP = Int(0, 2) == 0 ? "" : (Name(3, false) + "DSP").substr(0, 3);
    }
    for (int r = 0; r < kRegionCount; ++r) {
      for (auto& ch : rec.Region(r)) Channel(ch, true);
    }
    for (auto& ch : rec.CHWX) {
      ch.Enable = Flag();
      ch.ScanMemory = Flag();
      ch.ChTag = Name(12);
    }
    for (auto& ch : rec.CHEXP) {
      Channel(ch, false);
      ch.Wide = Flag();
      ch.CHDisplayL = Name(2);
      ch.CHDisplayR = Name(1);
      ch.Rxfreq = Frequency();
      ch.Txfreq = Frequency();
    }
    for (auto* dir : {&rec.CHMMSID, &rec.CHGRPID}) {
      const int used = Int(0, static_cast<int>(dir->size()));
      for (int k = 0; k < static_cast<int>(dir->size()); ++k) {
        auto& e = (*dir)[static_cast<std::size_t>(k)];
        e.InUse = k < used;
        e.Mmsid = e.InUse ? Digits(9) + "0" : "";
        e.TagName = e.InUse ? Name(11) : "";
      }
    }
  }

 private:
  std::mt19937 rng_;
};

}  // namespace qm47::testing

namespace qm47::testing {

// Call signs shorter than their field come back from the image without their padding.
inline void TrimCallSigns(SettingsRecord& rec) {
  for (auto& cs : rec.AtisCallSign) {
    for (auto* t : {&cs.MID, &cs.DISP}) t->erase(0, t->find_first_not_of(' ') == std::string::npos ? t->size() : t->find_first_not_of(' '));
  }
}

// Names the first differing part of two records, for readable failures.
inline std::string FirstDifference(const SettingsRecord& a, const SettingsRecord& b) {
  for (int i = 0; i < kGroupCount; ++i) {
    if (!(a.UsableGroup[static_cast<std::size_t>(i)] == b.UsableGroup[static_cast<std::size_t>(i)])) return "UsableGroup[" + std::to_string(i) + "]";
  }
  if (!(a.CommonSetup == b.CommonSetup)) return "CommonSetup";
  if (!(a.DscBasic == b.DscBasic)) return "DscBasic";
  if (!(a.DscAdvanced == b.DscAdvanced)) return "DscAdvanced";
  if (a.DscDisplay != b.DscDisplay) return "DscDisplay";
  if (!(a.AtisCommon == b.AtisCommon)) return "AtisCommon";
  for (std::size_t k = 0; k < a.AtisCallSign.size(); ++k) {
    if (!(a.AtisCallSign[k] == b.AtisCallSign[k])) return "AtisCallSign[" + std::to_string(k) + "] '" + a.AtisCallSign[k].MID + "' vs '" + b.AtisCallSign[k].MID + "'";
  }
  const std::pair<const char*, const std::vector<Channel>*> tables[] = {
      {"CHUSA", &a.CHUSA}, {"CHINT", &a.CHINT}, {"CHCAN", &a.CHCAN}, {"CHWX", &a.CHWX}, {"CHEXP", &a.CHEXP}};
  const std::vector<Channel>* other[] = {&b.CHUSA, &b.CHINT, &b.CHCAN, &b.CHWX, &b.CHEXP};
  for (int t = 0; t < 5; ++t) {
    const auto& x = *tables[t].second;
    const auto& y = *other[t];
    if (x.size() != y.size()) return std::string(tables[t].first) + " size";
    for (std::size_t k = 0; k < x.size(); ++k) {
      if (!(x[k] == y[k])) return std::string(tables[t].first) + "[" + std::to_string(k) + "] '" + x[k].ChTag + "' vs '" + y[k].ChTag + "'";
    }
  }
  if (a.CHMMSID != b.CHMMSID) return "CHMMSID";
  if (a.CHGRPID != b.CHGRPID) return "CHGRPID";
  return "";
}

}  // namespace qm47::testing
