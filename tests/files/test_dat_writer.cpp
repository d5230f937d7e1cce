#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "files/dat_writer.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::Fresh;
using qm47::testing::Model;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string Key(const std::string& line) { return line.substr(0, line.find('=')); }

// A section name or key with the range of its trailing numbers: "CHWX0-9", "TX TOT 0-3".
struct Spelling {
  std::string stem;
  int lo = -1, hi = -1;     // -1: no number
  bool alternates = false;  // its lines alternate with those of the key listed before it

  explicit Spelling(const std::string& name) : stem(name) {
    const std::size_t digits = name.find_last_not_of("0123456789") + 1;
    if (digits == name.size()) return;
    stem = name.substr(0, digits);
    lo = hi = std::stoi(name.substr(digits));
  }
  // Takes in `other` when it is the next number of the same stem.
  bool Extend(const Spelling& other) {
    if (other.stem != stem || lo < 0 || other.lo != hi + 1) return false;
    hi = other.lo;
    return true;
  }
  std::string Text() const {
    if (lo < 0) return stem;
    return stem + std::to_string(lo) + (hi > lo ? "-" + std::to_string(hi) : "");
  }
};

// One line per section, or per run of numbered sections with the keys of its first one:
// "[CHWX0-9] Enable, ScanMemory, ChTag". Keys of one stem are listed once, by their range;
// "A0-3 / B0-3" stands for A0, B0, A1, B1, ...
std::string Inventory(const std::string& text) {
  std::vector<std::pair<Spelling, std::vector<Spelling>>> sections;
  for (const std::string& line : Lines(text)) {
    if (line.front() == '[') {
      const Spelling name(line.substr(1, line.size() - 2));
      if (sections.empty() || !sections.back().first.Extend(name)) sections.push_back({name, {}});
    } else if (sections.back().first.lo == sections.back().first.hi) {
      const Spelling key(Key(line));
      auto& keys = sections.back().second;
      const auto same = std::find_if(keys.begin(), keys.end(), [&](const Spelling& k) { return k.stem == key.stem; });
      if (same == keys.end() || !same->Extend(key)) {
        keys.push_back(key);
      } else {
        // Extending an earlier key: the keys since then share its index loop.
        for (auto k = same + 1; k != keys.end(); ++k) k->alternates = true;
      }
    }
  }
  std::string out;
  for (const auto& [name, keys] : sections) {
    out += "[" + name.Text() + "]";
    for (std::size_t k = 0; k < keys.size(); ++k) {
      out += (k == 0 ? " " : keys[k].alternates ? " / " : ", ") + keys[k].Text();
    }
    out += "\n";
  }
  return out;
}

}  // namespace

TEST(DatWriter, FileStartsWithMainAndTheGroupsInTheirOrder) {
  const std::string text = DatFileText(Fresh(1), Model(1));
  const std::vector<std::string> lines = Lines(text);
  const std::vector<std::string> head(lines.begin(), lines.begin() + 11);
  EXPECT_EQ(head, (std::vector<std::string>{"[MAIN]", "MODEL=#TK4100A", "TYPE=#KVX", "VERSION=#1.00", "MODELTYPE=1",
                                            "[Usable CH Group Setup]", "USA=1", "INTL=1", "Canada=1", "EXP CH=0",
                                            "TX TOT 0=0"}));
  // Every line ends with CR LF, none is blank, and no bare LF or CR hides in a line.
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  for (const std::string& line : lines) {
    EXPECT_FALSE(line.empty());
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  }
}

TEST(DatWriter, SectionsAndKeysAreSpeltAsTheFormatHasThem) {
  // Model 1 has ATIS and the scrambler, so its file holds every section and key.
  const std::string expected =
      "[MAIN] MODEL, TYPE, VERSION, MODELTYPE\n"
      "[Usable CH Group Setup] USA, INTL, Canada, EXP CH, TX TOT 0-3, Priority CH 0-3, Status Icon 0-3, "
      "Status name 0-3\n"
      "[Common Setup] TX Po Display, SCAN, Resume Time, PTT SCAN Clear, Dual Watch, Offset Time, "
      "Magnetic Variation, Weater, Rotary\n"
      "[DSC Setup (Basic Setup)] USA, INTL, Canada, User MMSI, PosRequest0-3 / PosRequestTX0-3, BeepOut0-7\n"
      "[DSC Setup (Advanced Setup)] All Ships Call0-3 / All Ships CallTX0-3, Group Call0-3 / Group CallTX0-3, "
      "Individual Call0-3 / Individual CallTX0-3, Distress Relay\n"
      "[DSC Setup (Display Setup)] Individual ACK Menu, Individual ACK Message Menu, POS Request ACK Menu\n"
      "[ATIS Setup (Common)] Usable ATIS CH Group0-3, Atis Code, Usable ATIS Kikker CH Group0-3\n"
      "[ATIS Setup (Call Sign)] MID1-20 / DISP1-20\n"
      "[CHUSA0-239] Position, Enable, LowPower, PowUp, Duplex, TxEnable, DispayA, ScanMemory, Scramble, ChTag\n"
      "[CHINT0-239] Position, Enable, LowPower, PowUp, Duplex, TxEnable, DispayA, ScanMemory, Scramble, ChTag\n"
      "[CHCAN0-239] Position, Enable, LowPower, PowUp, Duplex, TxEnable, DispayA, ScanMemory, Scramble, ChTag\n"
      "[CHWX0-9] Enable, ScanMemory, ChTag\n"
      "[CHMMSID1-48] Enable, TagName, Mmsid\n"
      "[CHGRPID1-10] Enable, TagName, Mmsid\n"
      "[CHEXP1-40] Enable, CHDisplayL, CHDisplayR, Rxfreq, Txfreq, LowPower, PowUp, ScanMemory, Scramble, ChTag\n";
  EXPECT_EQ(Inventory(DatFileText(Fresh(1), Model(1))), expected);
}

TEST(DatWriter, AtisSectionsOnlyForAtisModelsAndScrambleOnlyWithTheScrambler) {
  for (int model = 1; model <= 4; ++model) {
    const std::string text = DatFileText(Fresh(model), Model(model));
    const bool atis = model <= 2;
    const bool scrambler = model == 1 || model == 3;
    EXPECT_EQ(text.find("[ATIS Setup (Common)]") != std::string::npos, atis) << model;
    EXPECT_EQ(text.find("[ATIS Setup (Call Sign)]") != std::string::npos, atis) << model;
    EXPECT_EQ(text.find("MID20=") != std::string::npos, atis) << model;
    EXPECT_EQ(text.find("\r\nScramble=") != std::string::npos, scrambler) << model;
    EXPECT_NE(text.find("MODELTYPE=" + std::to_string(model) + "\r\n"), std::string::npos);
  }
}

TEST(DatWriter, HashMarksExactlyTheListedKeys) {
  SettingsRecord rec = Fresh(1);
  // Texts that start like a mark must not fool the check below.
  rec.UsableGroup[0].StatusName = "#A";
  rec.AtisCallSign[0].MID = "#12";
  rec.CHEXP[0].CHDisplayL = "#";
  rec.CHMMSID[0].Mmsid = "#";
  const std::set<std::string> marked = {"MODEL", "TYPE", "VERSION", "User MMSI", "Atis Code", "ChTag", "TagName"};
  std::set<std::string> seen;
  for (const std::string& line : Lines(DatFileText(rec, Model(1)))) {
    if (line.front() == '[') continue;
    const std::string key = Key(line);
    const bool isMarked = marked.count(key) > 0;
    const std::string value = line.substr(key.size() + 1);
    if (isMarked) {
      EXPECT_EQ(value.front(), '#') << line;
      seen.insert(key);
    } else if (!value.empty() && value.front() == '#') {
      // Only the four crafted plain texts above may start with "#".
      EXPECT_TRUE(key == "Status name 0" || key == "MID1" || key == "CHDisplayL" || key == "Mmsid") << line;
    }
  }
  EXPECT_EQ(seen, marked);
}

TEST(DatWriter, ValuesAreWrittenAsStored) {
  SettingsRecord rec = Fresh(3);
  rec.UsableGroup[1].PriorityCh = 65535;
  rec.CommonSetup.OffsetTime = -7;
  rec.CHUSA[5].ChTag = "";
  rec.CHUSA[5].Scramble = 6;
  rec.CHMMSID[0].Mmsid = "";
  rec.CHMMSID[1].TagName = "  Boat";
  rec.CHEXP[0].Rxfreq = 156.8;
  rec.CHEXP[0].Txfreq = 157.0125;
  const std::string text = DatFileText(rec, Model(3));
  EXPECT_NE(text.find("\r\nPriority CH 1=65535\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nOffset Time=-7\r\n"), std::string::npos);
  EXPECT_NE(text.find("[CHUSA5]\r\nPosition=5\r\nEnable=0\r\nLowPower=0\r\nPowUp=0\r\nDuplex=0\r\nTxEnable=1\r\n"
                      "DispayA=0\r\nScanMemory=0\r\nScramble=6\r\nChTag=#\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[CHMMSID1]\r\nEnable=0\r\nTagName=#\r\nMmsid=\r\n"), std::string::npos);
  EXPECT_NE(text.find("[CHMMSID2]\r\nEnable=0\r\nTagName=#  Boat\r\nMmsid=\r\n"), std::string::npos);
  EXPECT_NE(text.find("[CHEXP1]\r\nEnable=0\r\nCHDisplayL=\r\nCHDisplayR=\r\nRxfreq=156.8\r\nTxfreq=157.0125\r\n"
                      "LowPower=0\r\nPowUp=0\r\nScanMemory=0\r\nScramble=0\r\nChTag=#\r\n"),
            std::string::npos);
}

TEST(DatWriter, FrequenciesInTheShortestFormWithoutExponent) {
  EXPECT_EQ(DatFrequencyText(0), "0");
  EXPECT_EQ(DatFrequencyText(-0.0), "0");
  EXPECT_EQ(DatFrequencyText(156.8), "156.8");
  EXPECT_EQ(DatFrequencyText(157.0125), "157.0125");
  EXPECT_EQ(DatFrequencyText(156), "156");  // every digit in front of the point, and no point
  EXPECT_EQ(DatFrequencyText(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary noise
  EXPECT_EQ(DatFrequencyText(123456789.123456789), "123456789.123457");
  EXPECT_EQ(DatFrequencyText(1e20), "100000000000000000000");
  EXPECT_EQ(DatFrequencyText(0.00000012), "0.00000012");
  EXPECT_EQ(DatFrequencyText(-5.5), "-5.5");
}
