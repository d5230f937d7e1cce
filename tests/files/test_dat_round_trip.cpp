// Every field a .dat carries comes back from the file it was written to: a key that the
// writer and the reader spell differently, or that one of them drops, fails here.
#include <gtest/gtest.h>

#include <algorithm>

#include "files/dat_reader.h"
#include "files/dat_writer.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::Fresh;

namespace {

void TrimLeadingSpaces(std::string& s) { s.erase(0, std::min(s.find_first_not_of(' '), s.size())); }

// What the file holds of each kind of channel; the rest stays as the record read into has it.
Channel CarriedRegion(const Channel& from, Channel to, bool scrambler) {
  to.Position = from.Position;
  to.Enable = from.Enable;
  to.LowPower = from.LowPower;
  to.PowUp = from.PowUp;
  to.Duplex = from.Duplex;
  to.TxEnable = from.TxEnable;
  to.DispayA = from.DispayA;
  to.ScanMemory = from.ScanMemory;
  if (scrambler) to.Scramble = from.Scramble;
  to.ChTag = from.ChTag;
  return to;
}

Channel CarriedWeather(const Channel& from, Channel to) {
  to.Enable = from.Enable;
  to.ScanMemory = from.ScanMemory;
  to.ChTag = from.ChTag;
  return to;
}

Channel CarriedExpansion(const Channel& from, Channel to, bool scrambler) {
  to.Enable = from.Enable;
  to.CHDisplayL = from.CHDisplayL;
  to.CHDisplayR = from.CHDisplayR;
  to.Rxfreq = from.Rxfreq;
  to.Txfreq = from.Txfreq;
  to.LowPower = from.LowPower;
  to.PowUp = from.PowUp;
  to.ScanMemory = from.ScanMemory;
  if (scrambler) to.Scramble = from.Scramble;
  to.ChTag = from.ChTag;
  return to;
}

// `fresh` after reading the file of `written`.
SettingsRecord Expected(const SettingsRecord& written, const SettingsRecord& fresh, const ModelDescriptor& model) {
  SettingsRecord want = written;
  if (!model.atis) {
    want.AtisCommon = fresh.AtisCommon;
    want.AtisCallSign = fresh.AtisCallSign;
  }
  for (int r = 0; r < kRegionCount; ++r) {
    for (std::size_t k = 0; k < want.Region(r).size(); ++k) {
      want.Region(r)[k] = CarriedRegion(written.Region(r)[k], fresh.Region(r)[k], model.scrambler);
    }
  }
  for (std::size_t k = 0; k < want.CHWX.size(); ++k) want.CHWX[k] = CarriedWeather(written.CHWX[k], fresh.CHWX[k]);
  for (std::size_t k = 0; k < want.CHEXP.size(); ++k) {
    want.CHEXP[k] = CarriedExpansion(written.CHEXP[k], fresh.CHEXP[k], model.scrambler);
  }
  return want;
}

// The first line where two file texts differ, both sides shown: it names the key.
std::string FirstDifferentLine(const std::string& a, const std::string& b) {
  const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first;
  if (a == b) return "";
  const std::size_t start = a.rfind('\n', static_cast<std::size_t>(at - a.begin())) + 1;
  return a.substr(start, a.find('\r', start) - start) + " | " + b.substr(start, b.find('\r', start) - start);
}

}  // namespace

TEST(DatSchema, RoundTripKeepsEveryKeyOfEveryModel) {
  for (int number = 1; number <= 4; ++number) {
    const ModelDescriptor model = qm47::testing::Model(number);
    const SettingsRecord fresh = Fresh(number);
    for (unsigned seed = 1; seed <= 8; ++seed) {
      SettingsRecord written = fresh;
      qm47::testing::RandomRecord random(seed * 10 + static_cast<unsigned>(number));
      random.Fill(written);
      // What the file carries beyond the image.
      for (int r = 0; r < kRegionCount; ++r) {
        for (Channel& ch : written.Region(r)) ch.DispayA = random.Flag();
      }
      written.UsableGroup[kEXP].PriorityCh = random.Int(0, 65535);
      written.UsableGroup[kEXP].StatusName = random.Name(4);
      // Plain texts lose their leading spaces by design; marked ones keep them.
      for (auto& g : written.UsableGroup) TrimLeadingSpaces(g.StatusName);
      for (auto& ch : written.CHEXP) TrimLeadingSpaces(ch.CHDisplayL);

      const std::string text = DatFileText(written, model);
      const DatSectionTable table = DatSectionTable::Parse(text);
      EXPECT_TRUE(DatModelMatches(table, number));
      SettingsRecord back = fresh;
      const DatCompleteness missing = ApplyDatSettings(table, back, model);
      EXPECT_EQ(missing.missingKeys, 0) << "model " << number;
      EXPECT_EQ(missing.missingSections, std::vector<std::string>{}) << "model " << number;
      const SettingsRecord want = Expected(written, fresh, model);
      ASSERT_TRUE(back == want) << "model " << number << ", seed " << seed << ": "
                                << qm47::testing::FirstDifference(back, want) << ": "
                                << FirstDifferentLine(DatFileText(back, model), DatFileText(want, model));
    }
  }
}
