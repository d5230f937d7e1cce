#include <gtest/gtest.h>

#include <tuple>

#include "editor/session/model_detection.h"
#include "editor/session/startup.h"

using namespace qm47;

TEST(Startup, SwitchIsComparedWholeAfterTrimAndUpperCase) {
  const std::tuple<const char*, bool, bool> cases[] = {  // switch, debug, 19200 baud
      {" /ed ", true, true}, {"/DE", true, true}, {"/d", true, false}, {"/E", false, true},
      {"/D /E", false, false}, {"", false, false}, {"D", false, false}, {"/X", false, false}, {"/DEE", false, false}};
  for (const auto& [text, debug, slow] : cases) {
    EXPECT_EQ(ParseSwitch(text).debugMode, debug) << text;
    EXPECT_EQ(ParseSwitch(text).baud19200, slow) << text;
  }
}

TEST(Startup, ModelListStopsAtTheFirstSectionWithoutUse) {
  EXPECT_EQ(ModelsInUse(IniFile::Parse("[model1]\nuse=1\n[model3]\nuse=1\n")), (std::vector<int>{1}));
  EXPECT_EQ(ModelsInUse(IniFile::Parse("[model1]\nuse=0\n[model2]\nuse=01\n[model3]\nuse=yes\n[model4]\nuse=#1\n")),
            (std::vector<int>{2, 4}));
  EXPECT_TRUE(ModelsInUse(IniFile::Parse("[model2]\nuse=1\n")).empty());
  EXPECT_EQ(ModelsInUse(IniFile::Parse("[model1]\nuse=2\n[model2]\nuse=1 \n")), (std::vector<int>{2}));
  EXPECT_EQ(ModelsInUse(IniFile::Parse("[model1]\nuse=1.5\n[model2]\nuse=10\n[model3]\nuse=1.0\n[model4]\nuse=-1\n")),
            (std::vector<int>{3}));
}

TEST(Startup, RememberedModelWinsOnlyWhenInUse) {
  const IniFile all = IniFile::Parse("[model1]\nuse=1\n[model2]\nuse=1\n[model3]\nuse=1\n");
  MemoryPreferenceStore prefs;
  EXPECT_EQ(StartupModel(all, prefs), 1);  // "lastmodel" defaults to 1
  prefs.Save("Settings", "lastmodel", "2");
  EXPECT_EQ(StartupModel(all, prefs), 2);
  prefs.Save("Settings", "lastmodel", "9");
  EXPECT_EQ(StartupModel(all, prefs), 3);  // the last model in use
  prefs.Save("Settings", "lastmodel", "garbage");
  EXPECT_EQ(StartupModel(all, prefs), 3);

  const IniFile onlyTwo = IniFile::Parse("[model1]\nuse=0\n[model2]\nuse=1\n");
  EXPECT_EQ(StartupModel(onlyTwo, MemoryPreferenceStore{}), 2);
  EXPECT_EQ(StartupModel(IniFile{}, prefs), 0);
}

TEST(Startup, DescriptorReadsAtisAndScramblerFromTheCatalogue) {
  const IniFile ini = IniFile::Parse("[model1]\nuse=1\natis=True\nscrambler=0\n[model2]\nuse=1\natis=#1\nscrambler=x\n");
  ModelDescriptor d = DescriptorFromCatalogue(ini, 1);
  EXPECT_EQ(d.name, "TK4100A");
  EXPECT_EQ(d.code, 4100);
  EXPECT_TRUE(d.atis);
  EXPECT_FALSE(d.scrambler);
  EXPECT_EQ(d.title, "PC Program for TK4100A");
  d = DescriptorFromCatalogue(ini, 2);
  EXPECT_TRUE(d.atis);
  EXPECT_FALSE(d.scrambler);  // unreadable: off
  EXPECT_EQ(DescriptorFromCatalogue(ini, 6).title, "PC Program for Unknown model");
}

// A command given no model takes the one model in use that an image's codes name, and
// refuses to choose when more than one model would fit.
TEST(Startup, DetectedModelIsTheOneInUseThatFits) {
  const IniFile catalogue = IniFile::Parse("[model1]\nuse=1\n[model2]\nuse=1\n[model3]\nuse=0\n[model4]\nuse=1\n");
  EXPECT_EQ(ModelsOfCodes(catalogue, 4100, 4100), (std::vector<int>{1}));
  EXPECT_EQ(ModelsOfCodes(catalogue, 520, 520), (std::vector<int>{2}));
  EXPECT_EQ(ModelsOfCodes(catalogue, 0, 0), (std::vector<int>{4}));
  EXPECT_TRUE(ModelsOfCodes(catalogue, 7100, 7100).empty());  // model 3 is not in use
  EXPECT_TRUE(ModelsOfCodes(catalogue, 520, 4100).empty());

  const std::vector<int> both = ModelsThatFit({1, 2, 3}, [](int m) { return m != 2; });
  EXPECT_EQ(SeveralModelsFit("'a.hex'", both),
            "'a.hex' fits model 1 (TK4100A) and model 3 (TK7100C) alike; name the one to use with --model.");
}
