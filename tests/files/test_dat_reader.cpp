#include <gtest/gtest.h>

#include <random>

#include "files/dat_reader.h"
#include "files/dat_writer.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::Fresh;
using qm47::testing::Model;

namespace {

// Section names with their keys and values, "NAME: K=V K=V".
std::vector<std::string> Dump(const DatSectionTable& t) {
  std::vector<std::string> out;
  for (std::size_t s = 0; s < t.SectionCount(); ++s) {
    std::string line = std::string(t.SectionName(s)) + ":";
    for (std::size_t k = 0; k < t.KeyCount(s); ++k) {
      line += " " + std::string(t.Key(s, k)) + "=" + std::string(t.Value(s, k));
    }
    out.push_back(line);
  }
  return out;
}

using Lines = std::vector<std::string>;

SettingsRecord Merge(const std::string& text, int model = 1, SettingsRecord rec = Fresh(1)) {
  ApplyDatSettings(DatSectionTable::Parse(text), rec, Model(model));
  return rec;
}

}  // namespace

// One splitter serves every reader of the file, a whole .dat from another system too.
TEST(DatReader, NamesKeysLinesAndHeadersFollowTheProfileRules) {
  const std::pair<const char*, Lines> cases[] = {
      // Names and keys are trimmed and upper-cased; values lose one mark.
      {"[ chusa3 ]\r\n"
       "  enable = 1 \r\n"
       "ChTag= #  A  \r\n"
       "TagName=##x\r\n"
       "tab=\tx\r\n"
       "end=\r\n",
       {"CHUSA3: ENABLE=1 CHTAG=  A TAGNAME=#x TAB=\tx END="}},
      // LF, CR LF and a lone CR each end a line.
      {"[A]\ra=1\nb=2\r\nc=\n\r\nd=4\r\r\n[B]\nx", {"A: A=1 B=2 C= D=4", "B:"}},
      // "[X]=1" is a key of the current section, not a header.
      {"[A]\r\n[X]=1\r\nb=2\r\nx\r\n", {"A: [X]=1 B=2"}},
      // A line holding "[" without starting with it ends the section; what follows is
      // skipped up to the next line that starts with "[".
      {"[A]\r\na=1\r\nnote [x\r\nb=2\r\n[B]\r\nc=3\r\nx\r\n", {"A: A=1", "B: C=3"}},
      // Lines without "=" or starting with it are ignored inside a section.
      {"[A]\r\nplain\r\n=1\r\n\r\na=1\r\n", {"A: A=1"}},
      // Headers without "]" or with nothing between the brackets are skipped with their keys.
      {"[]\r\na=1\r\n[B\r\nb=2\r\n[C]x\r\nc=3\r\n", {"C: C=3"}},
      // Keys before the first header belong nowhere.
      {"a=1\r\n[A]\r\nb=2\r\n", {"A: B=2"}},
      // A header on the last line makes no section, reached through the end of the section
      // before it too; one more line, even an empty one, and the section exists.
      {"[A]\r\na=1\r\n[B]", {"A: A=1"}},
      {"[A]\r\na=1\r\n[B]\r\n", {"A: A=1"}},
      {"[A]\r\na=1\r\nx[B]\r\n", {"A: A=1"}},
      {"[A]\r\na=1\r\n[B]\r\n\r\n", {"A: A=1", "B:"}},
      {"", {}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(Dump(DatSectionTable::Parse(text)), lines) << text;
}

TEST(DatReader, LookupGoesOnThroughSectionsOfTheSameName) {
  const auto t = DatSectionTable::Parse("[S]\r\na=1\r\na=9\r\n[T]\r\nb=5\r\n[s]\r\nb=2\r\n[S]\r\nb=3\r\nc=4\r\nx\r\n");
  EXPECT_EQ(t.Lookup("S", "A"), "1");  // the first match wins
  EXPECT_EQ(t.Lookup("s", "b"), "2");  // found in the second section named S, not in T
  EXPECT_EQ(t.Lookup("S", "c"), "4");
  EXPECT_EQ(t.Lookup("S", "d"), "");
  EXPECT_EQ(t.Lookup("U", "a"), "");
}

TEST(DatReader, ConversionsOfFlagsNumbersAndFrequencies) {
  using Flag = std::optional<bool>;
  for (const auto& [text, flag] : {std::pair{"1", Flag(true)}, {"-1", true}, {"0.5", true}, {"0", false},
                                   {"True", true}, {"FALSE", false}, {"", {}}, {"yes", {}}, {"1x", {}}}) {
    EXPECT_EQ(DatFlag(text), flag) << text;
  }
  using Number = std::optional<int>;
  // Halves go to the even neighbour.
  for (const auto& [text, number] : {std::pair{"2.5", Number(2)}, {"3.5", 4}, {"-2.5", -2}, {"2.51", 3}, {"+7", 7},
                                     {"1e2", 100}, {"1e999", {}}, {"12 3", {}}, {".", {}}, {"0x10", {}}}) {
    EXPECT_EQ(DatNumber(text, -32768, 32767), number) << text;
  }
  EXPECT_EQ(DatNumber("255", 0, 255), 255);
  EXPECT_EQ(DatNumber("300", 0, 255), std::nullopt);

  using Mhz = std::optional<double>;
  // The image holds 100 to 200 MHz only.
  for (const auto& [text, mhz] : {std::pair{"156.025", Mhz(156.025)}, {"0", 0.0}, {"199.9999", 199.9999}, {"250", {}},
                                  {"200", {}}, {"50", {}}, {"-156", {}}, {"156,025", {}}}) {
    EXPECT_EQ(DatFrequency(text), mhz) << text;
  }
  EXPECT_EQ(DatLeadingNumber("12abc"), 12);
  EXPECT_EQ(DatLeadingNumber("4.5 x"), 4);
  EXPECT_EQ(DatLeadingNumber("abc"), 0);
}

TEST(DatReader, ModelCheckNeedsANumericModelTypeOfTheModel) {
  EXPECT_TRUE(DatModelMatches(DatSectionTable::Parse("[MAIN]\r\nMODELTYPE=2\r\n"), 2));
  EXPECT_TRUE(DatModelMatches(DatSectionTable::Parse("[main]\r\nmodeltype = 2.0\r\n"), 2));
  EXPECT_FALSE(DatModelMatches(DatSectionTable::Parse("[MAIN]\r\nMODELTYPE=2\r\n"), 1));
  EXPECT_FALSE(DatModelMatches(DatSectionTable::Parse("[MAIN]\r\nMODELTYPE=two\r\n"), 2));
  EXPECT_FALSE(DatModelMatches(DatSectionTable::Parse("[MAIN]\r\nMODEL=#TK520B\r\n"), 2));
  EXPECT_FALSE(DatModelMatches(DatSectionTable::Parse("[OTHER]\r\nMODELTYPE=2\r\n"), 2));
  EXPECT_TRUE(DatModelMatches(DatSectionTable::Parse("[MAIN]\r\nMODELTYPE=2"), 2));
  EXPECT_FALSE(DatModelMatches(DatSectionTable::Parse("MODELTYPE=2\r\n[MAIN]"), 2));
}

TEST(DatReader, ValuesTheImageCannotHoldKeepTheField) {
  const SettingsRecord before = Fresh(1);
  const SettingsRecord after = Merge(
      "[Usable CH Group Setup]\r\nPriority CH 0=70000\r\nPriority CH 1=-1\r\nPriority CH 2=65535\r\n"
      "[Common Setup]\r\nResume Time=300\r\nTX Po Display=x\r\nOffset Time=40\r\nWeater=255\r\n"
      "SCAN=maybe\r\nRotary=True\r\n"
      "[CHUSA0]\r\nPosition=32\r\nScramble=9\r\nEnable=\r\n"
      "[CHEXP1]\r\nRxfreq=250\r\nTxfreq=156.8\r\n[CHEXP2]\r\nRxfreq=abc\r\nx\r\n");
  EXPECT_EQ(after.UsableGroup[0].PriorityCh, before.UsableGroup[0].PriorityCh);
  EXPECT_EQ(after.UsableGroup[1].PriorityCh, before.UsableGroup[1].PriorityCh);
  EXPECT_EQ(after.UsableGroup[2].PriorityCh, 65535);
  EXPECT_EQ(after.CommonSetup.ResumeTime, before.CommonSetup.ResumeTime);
  EXPECT_EQ(after.CommonSetup.TxPoDisplay, before.CommonSetup.TxPoDisplay);
  EXPECT_EQ(after.CommonSetup.OffsetTime, before.CommonSetup.OffsetTime);
  EXPECT_EQ(after.CommonSetup.Weater, 255);
  EXPECT_EQ(after.CommonSetup.Scan, before.CommonSetup.Scan);
  EXPECT_TRUE(after.CommonSetup.Rotary);
  EXPECT_EQ(after.CHUSA[32].Scramble, before.CHUSA[32].Scramble);
  EXPECT_EQ(after.CHUSA[32].Enable, before.CHUSA[32].Enable);
  EXPECT_EQ(after.CHEXP[0].Rxfreq, before.CHEXP[0].Rxfreq);
  EXPECT_EQ(after.CHEXP[0].Txfreq, 156.8);
  EXPECT_EQ(after.CHEXP[1].Rxfreq, before.CHEXP[1].Rxfreq);
  // Missing texts become empty.
  EXPECT_EQ(after.CHUSA[32].ChTag, "");
  EXPECT_EQ(after.CHWX[0].ChTag, "");
  EXPECT_EQ(after.AtisCallSign[0].MID, "");
  EXPECT_NE(before.CHUSA[32].ChTag, "");
}

TEST(DatReader, RegularChannelsArePlacedByPositionAndStopAtTheFirstGap) {
  const std::pair<const char*, const char*> regions[] = {{"chusa", "CHUSA"}, {"chint", "CHINT"}, {"chcan", "CHCAN"}};
  for (int r = 0; r < kRegionCount; ++r) {
    const auto [lower, upper] = regions[r];
    SettingsRecord rec = Fresh(1);
    for (Channel& ch : rec.Region(r)) ch.ChTag = "KEEP";
    std::string text;
    // Sections 0..4 place channels 100..104 (one of them out of bounds), 5 is missing, 6 exists.
    for (int n = 0; n <= 6; ++n) {
      if (n == 5) continue;
      const int position = n == 2 ? 240 : 100 + n;
      text += "[" + std::string(lower) + std::to_string(n) + "]\r\nposition=" + std::to_string(position) +
              "\r\nenable=1\r\nChTag=#N" + std::to_string(n) + "\r\n";
    }
    text += "[" + std::string(upper) + "6]\r\nPosition=106\r\nChTag=#N6\r\nx\r\n";
    const std::vector<Channel> got = Merge(text, 1, rec).Region(r);
    EXPECT_EQ(got[100].ChTag, "N0") << upper;
    EXPECT_TRUE(got[100].Enable) << upper;
    EXPECT_EQ(got[101].ChTag, "N1") << upper;
    EXPECT_EQ(got[102].ChTag, "KEEP") << upper;  // its section pointed outside the table
    EXPECT_EQ(got[103].ChTag, "N3") << upper;
    EXPECT_EQ(got[104].ChTag, "N4") << upper;
    EXPECT_EQ(got[106].ChTag, "KEEP") << upper;  // behind the gap
  }

  // Duplex needs a duplex pair: position 33 (channel 16A) has none, 32 (channel 16) has one.
  SettingsRecord rec = Merge("[CHUSA0]\r\nPosition=33\r\nDuplex=1\r\n[CHUSA1]\r\nPosition=32\r\nDuplex=1\r\nx\r\n");
  EXPECT_FALSE(rec.CHUSA[33].Duplex);
  EXPECT_TRUE(rec.CHUSA[32].Duplex);
  // A position from a leading number; an empty one ends the region.
  rec = Merge("[CHUSA0]\r\nPosition=40.5 here\r\nChTag=#A\r\n[CHUSA1]\r\nPosition=\r\n[CHUSA2]\r\nPosition=41\r\n"
              "ChTag=#B\r\nx\r\n");
  EXPECT_EQ(rec.CHUSA[40].ChTag, "A");
  EXPECT_EQ(rec.CHUSA[40].Position, 40);
  EXPECT_EQ(rec.CHUSA[41].ChTag, Fresh(1).CHUSA[41].ChTag);  // behind the empty position
}

TEST(DatReader, AtisAndScrambleAreReadOnlyForModelsThatHaveThem) {
  const std::string text =
      "[ATIS Setup (Common)]\r\nUsable ATIS CH Group0=1\r\nAtis Code=#1234567890\r\n"
      "[ATIS Setup (Call Sign)]\r\nMID1=123\r\n[CHUSA0]\r\nPosition=32\r\nScramble=5\r\n"
      "[CHEXP1]\r\nScramble=6\r\nx\r\n";
  SettingsRecord base = Fresh(1);
  base.AtisCommon.AtisCode = "1111111111";
  base.AtisCallSign[1].MID = "222";
  const SettingsRecord plain = Merge(text, 4, base);
  EXPECT_EQ(plain.AtisCommon, base.AtisCommon);
  EXPECT_EQ(plain.AtisCallSign, base.AtisCallSign);
  EXPECT_EQ(plain.CHUSA[32].Scramble, base.CHUSA[32].Scramble);
  EXPECT_EQ(plain.CHEXP[0].Scramble, base.CHEXP[0].Scramble);

  const SettingsRecord full = Merge(text, 1, base);
  EXPECT_TRUE(full.AtisCommon.AtisGroup[0]);
  EXPECT_EQ(full.AtisCommon.AtisCode, "1234567890");
  EXPECT_EQ(full.AtisCallSign[0].MID, "123");
  EXPECT_EQ(full.AtisCallSign[1].MID, "");  // a missing text becomes empty
  EXPECT_EQ(full.CHUSA[32].Scramble, 5);
  EXPECT_EQ(full.CHEXP[0].Scramble, 6);
}

TEST(DatReader, HostileInputStaysBoundedAndFast) {
  // Thousands of sections of one name, none with the key looked up, and one huge line.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "[CHUSA0]\r\nEnable=1\r\n";
  text += "[CHUSA1]\r\nChTag=" + std::string(1 << 20, 'x') + "\r\n[CHUSA0]\r\nPosition=7\r\nx\r\n";
  const auto t = DatSectionTable::Parse(text);
  EXPECT_EQ(t.SectionCount(), 20002u);
  EXPECT_EQ(t.Lookup("CHUSA0", "Position"), "7");
  SettingsRecord rec = Fresh(1);
  ApplyDatSettings(t, rec, Model(1));
  EXPECT_TRUE(rec.CHUSA[7].Enable);
}

TEST(DatReader, AFileCutShortSaysWhatItLacked) {
  std::mt19937 rng(30000);
  auto upTo = [&](std::size_t lo, std::size_t hi) { return std::uniform_int_distribution<std::size_t>(lo, hi)(rng); };
  for (int model = 1; model <= 4; ++model) {
    const std::string full = DatFileText(Fresh(model), Model(model));
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < full.size(); at = end + 2) {
      end = full.find("\r\n", at);
      lines.push_back(full.substr(at, end - at));
    }
    std::size_t mainLines = 1;
    while (lines[mainLines].front() != '[') ++mainLines;

    // Cut at a line end: what the writer wrote after the cut is missing ([MAIN] aside),
    // and so is a section whose header is left as the last line.
    for (int round = 0; round < 40; ++round) {
      const std::size_t kept = round == 0 ? mainLines : upTo(1, lines.size());
      std::string text;
      for (std::size_t i = 0; i < kept; ++i) text += lines[i] + "\r\n";
      int keys = 0;
      std::vector<std::string> sections;
      if (kept > mainLines && lines[kept - 1].front() == '[') sections.push_back(lines[kept - 1]);
      for (std::size_t i = std::max(kept, mainLines); i < lines.size(); ++i) {
        if (lines[i].front() == '[') {
          sections.push_back(lines[i]);
        } else {
          ++keys;
        }
      }
      for (std::string& name : sections) name = name.substr(1, name.size() - 2);
      SettingsRecord rec = Fresh(model);
      const DatCompleteness got = ApplyDatSettings(DatSectionTable::Parse(text), rec, Model(model));
      EXPECT_EQ(got.missingKeys, keys) << "model " << model << ", " << kept << " lines";
      EXPECT_EQ(got.missingSections, sections) << "model " << model << ", " << kept << " lines";
    }

    // Cut anywhere: before the last line something is always missing.
    const std::size_t lastLine = full.size() - lines.back().size() - 2;
    for (int round = 0; round < 40; ++round) {
      const std::size_t cut = upTo(0, lastLine - 1);
      SettingsRecord rec = Fresh(model);
      EXPECT_GT(ApplyDatSettings(DatSectionTable::Parse(full.substr(0, cut)), rec, Model(model)).missingKeys, 0)
          << "model " << model << ", cut at " << cut;
    }
  }
}
