#include <gtest/gtest.h>

#include "editor/pages/entry_apply.h"
#include "editor/pages/weather_page.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;
using enum WeatherControl;

TEST(WeatherPage, TenRowsOfCaptionEnableScanAndName) {
  SessionFixture f(1);
  SettingsRecord& rec = f.session.record;
  rec.CHWX[3].Enable = false;
  rec.CHWX[5].ScanMemory = true;
  const WeatherPageState page = WeatherPageFor(rec);

  ASSERT_EQ(page.rows.size(), 10u);
  // The enable box's pointer and hint are the window's test.
  EXPECT_EQ(page.rows[0].lblWX.caption, "WX01[162.550MHz]");
  EXPECT_EQ(page.rows[9].lblWX.caption, "WX10[163.275MHz]");
  EXPECT_EQ(page.rows[7].txtDTagName.text, "161.650MHZ");

  for (int i = 0; i < 10; ++i) {
    const WeatherRowState& row = page.rows[static_cast<std::size_t>(i)];
    const bool on = i != 3;
    EXPECT_EQ(row.chkDEnable.checked, on) << i;
    EXPECT_TRUE(row.chkDEnable.enabled) << i;
    EXPECT_EQ(row.chkDScan.enabled, on) << i;
    EXPECT_EQ(row.txtDTagName.enabled, on) << i;
    EXPECT_EQ(row.chkDScan.checked, i == 5) << i;
  }
}

TEST(WeatherPage, ClicksAndNamesStoreIntoTheirRow) {
  SessionFixture f(1);
  SettingsRecord& rec = f.session.record;

  // What the enable box does to its row is the window's test; the scan box of a disabled
  // row takes no click, enabled it stores.
  ASSERT_TRUE(EditWeather(f.session, 2, Enable, false).applied);
  EXPECT_FALSE(EditWeather(f.session, 2, Scan, true).applied);
  EXPECT_FALSE(rec.CHWX[2].ScanMemory);
  EXPECT_TRUE(EditWeather(f.session, 2, Enable, true).row->chkDScan.enabled);
  EXPECT_TRUE(EditWeather(f.session, 2, Scan, true).applied);
  EXPECT_TRUE(rec.CHWX[2].ScanMemory);
  EXPECT_FALSE(EditWeather(f.session, 10, Enable, false).row);

  // A row's name box stores into that row's channel.
  const WeatherRowState row4 = *WeatherRowFor(rec, 4);
  ASSERT_TRUE(ApplyEntryOutcome(f.session, EntryTextChanged({row4.txtDTagName.entry, "NOAA", true}, true)));
  EXPECT_EQ(rec.CHWX[4].ChTag, "NOAA");
}
