#include <gtest/gtest.h>

#include <set>

#include "files/dat_writer.h"
#include "model/fresh_image.h"

using namespace qm47;

namespace {

ModelDescriptor Model(int number) {
  const bool atis = number == 1 || number == 2;
  const bool scrambler = number == 1 || number == 3;
  return MakeDescriptor(number, atis, scrambler);
}

SettingsRecord Fresh(int number) {
  SettingsRecord rec;
  MemoryImage img;
  NewImageData(rec, img, number);
  return rec;
}

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

TEST(DatWriter, SectionsFollowTheFixedOrderAndNumbering) {
  std::vector<std::string> sections;
  for (const std::string& line : Lines(DatFileText(Fresh(1), Model(1)))) {
    if (line.front() == '[') sections.push_back(line);
  }
  const std::vector<std::string> general(sections.begin(), sections.begin() + 8);
  EXPECT_EQ(general, (std::vector<std::string>{"[MAIN]", "[Usable CH Group Setup]", "[Common Setup]",
                                               "[DSC Setup (Basic Setup)]", "[DSC Setup (Advanced Setup)]",
                                               "[DSC Setup (Display Setup)]", "[ATIS Setup (Common)]",
                                               "[ATIS Setup (Call Sign)]"}));
  ASSERT_EQ(sections.size(), 8u + 3 * 240 + 10 + 48 + 10 + 40);
  EXPECT_EQ(sections[8], "[CHUSA0]");
  EXPECT_EQ(sections[8 + 239], "[CHUSA239]");
  EXPECT_EQ(sections[8 + 240], "[CHINT0]");
  EXPECT_EQ(sections[8 + 480], "[CHCAN0]");
  EXPECT_EQ(sections[8 + 720], "[CHWX0]");
  EXPECT_EQ(sections[8 + 730], "[CHMMSID1]");
  EXPECT_EQ(sections[8 + 777], "[CHMMSID48]");
  EXPECT_EQ(sections[8 + 778], "[CHGRPID1]");
  EXPECT_EQ(sections[8 + 788], "[CHEXP1]");
  EXPECT_EQ(sections.back(), "[CHEXP40]");
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
  EXPECT_EQ(DatFrequencyText(160), "160");
  EXPECT_EQ(DatFrequencyText(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary noise
  EXPECT_EQ(DatFrequencyText(123456789.123456789), "123456789.123457");
  EXPECT_EQ(DatFrequencyText(1e20), "100000000000000000000");
  EXPECT_EQ(DatFrequencyText(0.00000012), "0.00000012");
  EXPECT_EQ(DatFrequencyText(-5.5), "-5.5");
}
