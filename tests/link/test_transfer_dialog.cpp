// The transfer dialog's behaviour without its widgets.
#include "link_rig.h"

namespace qm47::linktest {
namespace {

TEST(TransferDialog, Ok_ASilentRadioIsToldAndLeavesTheDialogOpen) {
  TransferRig rig(transfer_mode::Read, {.debug = true});
  rig.radio.SetFaults({.silentAtCommand = 2, .silentCount = -1});
  rig.dialog.Load();
  rig.dialog.Ok();
  ASSERT_EQ(rig.ui.Texts(), (Strings{"can not syncing!!"}));
  EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio");
  EXPECT_NE(rig.ui.shown[0].detail.find("did not answer #CMDSY"), std::string::npos) << rig.ui.shown[0].detail;
  EXPECT_NE(rig.ui.shown[0].detail.find("The radio is unchanged."), std::string::npos);
  EXPECT_EQ(rig.ui.monitor.front(), "starting at debug mode..");
  EXPECT_EQ(rig.ui.monitor[1], "startsync...");
  EXPECT_EQ(rig.ui.monitor.back(), "can not syncing!!");
  EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
  EXPECT_TRUE(rig.dialog.OkEnabled());

  // The next OK runs the whole connect sequence again.
  rig.radio.SetFaults({});
  rig.ui.shown.clear();
  rig.dialog.Ok();
  EXPECT_EQ(rig.ui.Texts(), (Strings{"Complete!!"}));
  EXPECT_EQ(rig.CountSent("ACMD:002"), 2);
}

TEST(TransferDialog, Ok_AnUnknownModeConnectsAndDoesNothingElse) {
  TransferRig rig(9);
  rig.dialog.Ok();
  EXPECT_EQ(rig.dialog.caption(), "");
  EXPECT_TRUE(rig.ui.shown.empty());
  EXPECT_EQ(rig.Sent().back(), "#CMDSY");
  EXPECT_EQ(rig.dialog.state(), DialogState::Closed);
}

TEST(TransferDialog, DebugMode_ShowsTheMonitorTextsWithTheirPauses) {
  TransferRig quiet(transfer_mode::ClearMmsi);
  quiet.dialog.Load();
  quiet.dialog.Ok();
  TransferRig debug(transfer_mode::ClearMmsi, {.debug = true});
  debug.dialog.Load();
  debug.dialog.Ok();
  EXPECT_TRUE(quiet.ui.monitor.empty());
  EXPECT_EQ(debug.ui.monitor,
            (Strings{"starting at debug mode..", "startsync...", "19200,N,8,1", "sending 'ACMD:002'...", "57600,N,8,1",
                     "sending '#CMDSY'...(1)", "sending '#CMDSY'...(2)", "sync ok", "status check..",
                     "status check.. OK", "model check...", "radio clear...", ""}));
  // Twelve texts with a pause each; the line is cleared without one.
  EXPECT_EQ(debug.Elapsed() - quiet.Elapsed(), 12 * 500ms);
}

// Topic 1012 opening is the window's test.
TEST(TransferDialog, Help_SaysWhyItCannotOpenTopic1012) {
  TransferRig rig(transfer_mode::ClearDscLog);
  std::vector<int> topics;
  rig.dialog.Help(false, [&](int topic) -> std::optional<HelpFailure> {
    topics.push_back(topic);
    return std::nullopt;
  });
  EXPECT_TRUE(topics.empty()) << "no help to open";
  rig.dialog.Help(true, [](int) -> std::optional<HelpFailure> {
    return HelpFailure{"No web browser is installed.", "Open /data/help/1012.html in a web browser."};
  });
  ASSERT_EQ(rig.ui.shown.size(), 2u);
  EXPECT_EQ(rig.ui.shown[0].text, "Unable to display Help Contents. There is no Help associated with this project.");
  EXPECT_EQ(rig.ui.shown[0].icon, Icon::Information);
  EXPECT_EQ(rig.ui.shown[0].caption, "Clear DSC Log Data");
  EXPECT_EQ(rig.ui.shown[1].text, "No web browser is installed.");
  EXPECT_EQ(rig.ui.shown[1].detail, "Open /data/help/1012.html in a web browser.");
  EXPECT_EQ(rig.ui.shown[1].icon, Icon::None);
  EXPECT_EQ(rig.ui.shown[1].caption, "Clear DSC Log Data");
}

}  // namespace
}  // namespace qm47::linktest
