// The sample destination files the build writes beside the executables.
#include <gtest/gtest.h>

#include "model/codec.h"
#include "record_builder.h"
#include "run_cli.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::BinDir;
using qm47::testing::SessionFixture;

TEST(SampleDestinations, EveryModelLoadsEachRegionOverTheUnchangedChannelPlans) {
  struct Region {
    std::string name;
    int home;
    std::array<bool, 3> usable;  // USA, INTL, Canada; DSC goes with them
    bool weather;
  };
  const Region regions[] = {
      {"USA", kUSA, {true, false, true}, true},
      {"CANADA", kCanada, {true, true, true}, true},
      {"INTL", kINTL, {false, true, false}, false},
  };
  for (int model = 1; model <= 4; ++model) {
    SCOPED_TRACE(ModelLabel(model));
    SessionFixture f(model);
    Session& s = f.session;
    s.dataFolder = BinDir();
    EXPECT_EQ(ScanDestinationNames(s.dataFolder, s.model), (std::vector<std::string>{"CANADA", "INTL", "USA"}));
    const SettingsRecord defaults = qm47::testing::Fresh(model);

    for (const Region& r : regions) {
      SCOPED_TRACE(r.name);
      ASSERT_TRUE(NewImageSetup(s, r.name));
      const SettingsRecord& rec = s.record;
      for (int g = 0; g < kRegionCount; ++g) {
        const auto i = static_cast<std::size_t>(g);
        EXPECT_EQ(rec.UsableGroup[i].Usable, r.usable[i]) << "group " << g;
        EXPECT_EQ(rec.DscBasic.DscGroup[i], r.usable[i]) << "group " << g;
        EXPECT_EQ(rec.UsableGroup[i].PriorityCh, 32);
        EXPECT_TRUE(rec.Region(g)[32].ScanMemory);  // channel 16
        for (std::size_t p = 0; p < kRegionPositions; ++p) {
          ASSERT_EQ(rec.Region(g)[p].Enable, defaults.Region(g)[p].Enable) << "group " << g << " position " << p;
          ASSERT_EQ(rec.Region(g)[p].ChTag, defaults.Region(g)[p].ChTag) << "group " << g << " position " << p;
        }
      }
      EXPECT_FALSE(rec.UsableGroup[kEXP].Usable);
      for (const Channel& wx : rec.CHWX) EXPECT_EQ(wx.Enable, r.weather);
      EXPECT_EQ(rec.CommonSetup.Weater, r.weather ? 3 : 0);
      // The fresh image holds an offset and a bearing outside the editable ranges.
      EXPECT_EQ(rec.CommonSetup.OffsetTime, 0);
      EXPECT_EQ(rec.CommonSetup.MagneticVariation, 0);
      EXPECT_EQ(rec.CHMMSID, defaults.CHMMSID);
      EXPECT_EQ(rec.CHEXP, defaults.CHEXP);

      // Ready for a radio as it is: on channel 16 of its home group, checksum right.
      EXPECT_EQ(s.image.GetByte(addr::CurrentGroup), r.home);
      EXPECT_EQ(s.image.GetWordBE(addr::CurrentChannel), 32);
      MemoryImage summed = s.image;
      SetChecksum(summed);  // its sum is the normalise tests'
      EXPECT_EQ(summed, s.image);
    }
  }
}
