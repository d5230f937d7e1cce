// Every transfer through the dialog's OK against the virtual radio: what is sent, what
// the user sees, and what the image holds afterwards.
#include <algorithm>

#include "link_rig.h"

namespace qm47::linktest {
namespace {

// A radio whose settings differ from the editor's fresh image in every area.
void FillRadio(LinkRig& rig) {
  auto& m = rig.radio.memory();
  for (std::size_t a = 2; a < m.size() - 2; ++a) m[a] = static_cast<std::uint8_t>((a * 7 + 3) & 0xFF);
}

bool OnlySettingsAreasTaken(const MemoryImage& before, const MemoryImage& after, const sim::Memory& radio) {
  for (Address a = 0; a < kImageSize; ++a) {
    const auto i = static_cast<std::size_t>(a);
    const std::uint8_t expected = IsSettingsAddress(a) ? radio[i] : before.bytes()[i];
    if (after.bytes()[i] != expected) return false;
  }
  return true;
}

TEST(ReadTransfer, Read_TakesOverExactlyTheSettingsAreasAndDecodesThem) {
  TransferRig rig(transfer_mode::Read);
  FillRadio(rig);
  const MemoryImage before = rig.image;
  const SettingsRecord recordBefore = rig.record;
  rig.dialog.Load();
  rig.dialog.Ok();

  EXPECT_TRUE(rig.success());
  EXPECT_EQ(rig.dialog.state(), DialogState::Closed);
  EXPECT_TRUE(OnlySettingsAreasTaken(before, rig.image, rig.radio.memory()));
  SettingsRecord decoded = recordBefore;
  DecodeImage(rig.image, decoded);
  EXPECT_EQ(rig.record, decoded) << "the record holds the decoded image";
  EXPECT_NE(rig.record, recordBefore);

  ASSERT_EQ(rig.ui.shown.size(), 1u);
  EXPECT_EQ(rig.ui.shown[0].text, "Complete!!");
  EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio");
  EXPECT_EQ(rig.ui.shown[0].icon, Icon::Information);
  EXPECT_EQ(rig.CountSent("#CEPSR"), 1);
  EXPECT_EQ(rig.CountSent("#CEPRD"), 2 + 256);
  EXPECT_EQ(rig.CountSent("#CEPWR"), 0);
  const Strings sent = rig.Sent();
  EXPECT_EQ(sent[5], "#CEPSR\t00\t74");
  EXPECT_EQ(sent[6], "#CMDOK");
  EXPECT_EQ(sent[7], "#CEPRD\t0000\t02\t" + HexField(FrameChecksum("#CEPRD\t0000\t02\t"), 2));
  EXPECT_EQ(sent[9], "#CEPRD\t3FFE\t02\t1E");
  EXPECT_EQ(sent[11], "#CEPRD\t0000\t40\t" + HexField(FrameChecksum("#CEPRD\t0000\t40\t"), 2));
  // Progress: 0 first, 100 at the last block, back to 0 when the dialog is done.
  EXPECT_EQ(rig.ui.progress.front(), 0);
  EXPECT_EQ(rig.ui.progress[rig.ui.progress.size() - 2], 100);
  EXPECT_EQ(rig.ui.progress.back(), 0);
  EXPECT_FALSE(rig.pipe.IsOpen());
}

TEST(ReadTransfer, Read_FailuresLeaveImageAndRecordAsTheyWere) {
  struct Case {
    sim::RadioFaults faults;
    Strings messages;
    const char* caption;  // of the first message
  };
  const std::vector<Case> cases = {
      {{.corruptAtData = 40}, {"Communication Error!!", "The radio is unchanged."}, "Read from Radio"},
      {{.wrongAddressAtData = 3}, {"address error!!", "Communication Error!!", "The radio is unchanged."}, "Read from Radio"},
      {{.silentAtCommand = 30, .silentCount = -1}, {"Communication Error!!", "The radio is unchanged."}, "Read from Radio"},
      // The model check's second read: the check names itself.
      {{.corruptAtData = 2}, {"Communication Error!!", "The radio is unchanged."}, "Model Check"},
  };
  for (const Case& c : cases) {
    TransferRig rig(transfer_mode::Read);
    FillRadio(rig);
    rig.radio.SetFaults(c.faults);
    const MemoryImage before = rig.image;
    const SettingsRecord recordBefore = rig.record;
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), c.messages);
    EXPECT_EQ(rig.ui.shown[0].caption, c.caption);
    EXPECT_EQ(rig.ui.shown.back().caption, "Read from Radio");
    EXPECT_EQ(rig.image, before);
    EXPECT_EQ(rig.record, recordBefore);
    EXPECT_FALSE(rig.success());
    // A failed block keeps the dialog open for another try.
    EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
    EXPECT_TRUE(rig.dialog.OkEnabled());
  }
}

TEST(ReadTransfer, Read_CancelSendsTheAbortAndSaysTheRadioIsUnchanged) {
  TransferRig rig(transfer_mode::Read);
  FillRadio(rig);
  const MemoryImage before = rig.image;
  int turns = 0;
  rig.ui.onEvents = [&] {
    // Well into the block loop, the user presses Cancel.
    if (++turns == 20000) {
      EXPECT_FALSE(rig.dialog.Cancel());
    }
  };
  rig.dialog.Ok();
  EXPECT_EQ(rig.ui.Texts(), (Strings{"The radio is unchanged."}));
  EXPECT_EQ(rig.Sent().back(), "\x18");
  EXPECT_FALSE(rig.pipe.IsOpen());
  EXPECT_EQ(rig.image, before);
  EXPECT_FALSE(rig.success());
  EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
  // Idle again: Cancel now closes.
  EXPECT_TRUE(rig.dialog.Cancel());
  EXPECT_EQ(rig.dialog.state(), DialogState::Closed);
}

TEST(ReadTransfer, Read_APortFaultInTheModelCheckOrTheBlockLoopIsTrappedAndLogged) {
  // The port fails at the model check's last acknowledgement (its 10th write) or in the block loop.
  for (const auto& [write, step] : {std::pair{10, "frmRadio.ReadDataChkModel"}, std::pair{50, "frmRadio.ReadData"}}) {
    TransferRig rig(transfer_mode::Read, {.debug = true});
    FillRadio(rig);
    const MemoryImage before = rig.image;
    rig.pipe.FailWrites(IoError{57, "Device I/O error"}, write);
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"57\r\rDevice I/O error", "The radio is unchanged."})) << step;
    EXPECT_EQ(rig.ui.shown[0].caption, step);
    EXPECT_NE(rig.ErrorLogText().find(std::string(":") + step + " -> 57Device I/O error\r\n"), std::string::npos);
    EXPECT_EQ(rig.pipe.opens(), (Strings{"19200,N,8,1", "57600,N,8,1"})) << "no re-open after the fault";
    EXPECT_FALSE(rig.pipe.IsOpen());
    EXPECT_EQ(rig.image, before);
    EXPECT_FALSE(rig.success());
    EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
  }
}

TEST(StatusCheck, StatusCheck_BusyRadioIsAskedAgainOnRetry) {
  TransferRig rig(transfer_mode::Read);
  rig.radio.SetFaults({.busyCount = 1});
  rig.ui.answers = {Answer::Retry};
  rig.dialog.Ok();
  EXPECT_EQ(rig.ui.Texts(), (Strings{"Radio is busy!!", "Complete!!"}));
  EXPECT_EQ(rig.ui.shown[0].buttons, Buttons::RetryCancel);
  EXPECT_EQ(rig.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio");
  EXPECT_EQ(rig.ui.shown[0].defaultButton, DefaultButton::Second) << "Cancel is the default";
  EXPECT_EQ(rig.CountSent("#CEPSR"), 2);
  EXPECT_TRUE(rig.success());
}

TEST(StatusCheck, StatusCheck_ErrorRepliesTimeOutsAndBadAnswers) {
  {
    // "ERROR" on every attempt: the question; Cancel means not ready.
    TransferRig rig(transfer_mode::ClearMmsi);
    rig.radio.SetFaults({.errorAtCommand = 4, .errorCount = 3});
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"confirm the synchronization of the communication", "Radio not ready!!", "The radio is unchanged."}));
    EXPECT_EQ(rig.ui.shown[1].icon, Icon::Critical);
    EXPECT_EQ(rig.dialog.state(), DialogState::Closed);
  }
  {
    // A status answer that fails its checksum is answered "#CMDSM".
    TransferRig rig(transfer_mode::Read, {.debug = true});
    rig.pipe.SetAnswerFilter([](const Bytes& a) {
      std::string t(a.begin(), a.end());
      if (t.find("#CEPSD") != std::string::npos) t.replace(t.size() - 4, 2, "00");
      return Ascii(t);
    });
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"Radio not ready!!", "The radio is unchanged."}));
    EXPECT_EQ(rig.Sent().back(), "#CMDSM");
    EXPECT_EQ(rig.ui.monitor.back(), "status check.. NG!!");
  }
  {
    // A status request never acknowledged: three tries, then not ready without a monitor text.
    TransferRig rig(transfer_mode::Read, {.debug = true});
    rig.radio.SetFaults({.silentAtCommand = 4, .silentCount = 3});
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"Radio not ready!!", "The radio is unchanged."}));
    EXPECT_EQ(rig.CountSent("#CEPSR"), 3);
    EXPECT_EQ(rig.ui.monitor.back(), "status check..");
  }
}

TEST(ModelCheck, ModelCheck_CodeWordsMustBothMatchTheSelectedModel) {
  struct Case {
    int model;
    int first;
    int second;
    bool passes;
  };
  for (const Case& c : {Case{1, 4100, 4100, true}, Case{1, 4100, 520, false}, Case{4, 0, 0, true},
                        Case{1, 0, 0, false}, Case{2, 520, 520, true}}) {
    TransferRig rig(transfer_mode::Program, {.model = c.model});
    auto& m = rig.radio.memory();
    m[0] = static_cast<std::uint8_t>(c.first >> 8);
    m[1] = static_cast<std::uint8_t>(c.first & 0xFF);
    m[0x3FFE] = static_cast<std::uint8_t>(c.second >> 8);
    m[0x3FFF] = static_cast<std::uint8_t>(c.second & 0xFF);
    rig.dialog.Ok();
    EXPECT_EQ(rig.success(), c.passes) << c.model << " " << c.first << " " << c.second;
    if (!c.passes) {
      EXPECT_EQ(rig.ui.Texts(), (Strings{"ModelType Error !!", "The radio is unchanged."}));
      EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio") << "whatever the mode";
      EXPECT_EQ(rig.CountSent("#CEPWR"), 0);
      EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
    }
  }
}

// Cancel pressed as the last byte of the second code word arrives.
TEST(ModelCheck, ModelCheck_ACancelAtItsLastAnswerStopsTheTransfer) {
  TransferRig rig(transfer_mode::Program);
  rig.ui.onEvents = [&] {
    if (rig.radio.commandCount() == 6 && rig.pipe.BytesWaiting() == 1) rig.dialog.Cancel();
  };
  rig.dialog.Ok();
  EXPECT_EQ(rig.CountSent("#CEPWR"), 0);
  EXPECT_EQ(rig.ui.Texts(), (Strings{"The radio is unchanged."}));
  EXPECT_FALSE(rig.success());
  EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
}

TEST(ProgramTransfer, Program_WritesExactlyTheSettingsAreasInOrder) {
  TransferRig rig(transfer_mode::Program);
  auto& m = rig.radio.memory();
  for (std::size_t a = 2; a < m.size() - 2; ++a) m[a] = 0x5A;
  rig.record.DscBasic.UserMmsi = "366123456";
  rig.dialog.Ok();
  ASSERT_TRUE(rig.success()) << ::testing::PrintToString(rig.ui.Texts());
  EXPECT_EQ(rig.ui.Texts(), (Strings{"Complete!!"}));
  EXPECT_EQ(rig.ui.shown[0].caption, "Program to Radio");

  // The image was encoded, normalised and checksummed before it was sent.
  EXPECT_EQ(rig.image.GetDigits(addr::UserMmsi).substr(0, 9), "366123456");
  EXPECT_EQ(rig.image.GetByte(addr::Checksum), rig.image.Sum8(addr::ChecksumFirst, addr::ChecksumCount));
  for (Address a = 0; a < kImageSize; ++a) {
    const auto i = static_cast<std::size_t>(a);
    ASSERT_EQ(m[i], IsSettingsAddress(a) ? rig.image.bytes()[i] : (a < 2 || a >= 0x3FFE ? m[i] : 0x5A))
        << AddressText(a);
  }
  Strings writes;
  for (const auto& l : rig.Sent()) {
    if (l.rfind("#CEPWR", 0) == 0) writes.push_back(l.substr(7, 7));
  }
  ASSERT_EQ(writes.size(), 273u);
  EXPECT_EQ(writes[0], "0002\t01");
  EXPECT_EQ(writes[61], "003F\t01");
  EXPECT_EQ(writes[62], "0040\t40");
  EXPECT_EQ(writes[62 + 6], "01C0\t40");
  EXPECT_EQ(writes[62 + 7], "0300\t40");
  EXPECT_EQ(writes.back(), "35C0\t40");
}

TEST(ProgramTransfer, Program_SingleBytes_ARefusedByteCountsAfterAllButASilentRadioEndsThere) {
  // Commands: ACMD, 2 sync, status, 2 model reads; the 10th single byte (0x000B) is the 16th.
  {
    // Refused ("ERROR" three times, the question answered Cancel): the other bytes are
    // still written, and a later byte that needed a second try does not hide the first fault.
    TransferRig rig(transfer_mode::Program);
    rig.radio.SetFaults({.errorAtCommand = 16, .errorCount = 3, .silentAtCommand = 30});
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"confirm the synchronization of the communication", "Communication Error!!", "The radio may be partly programmed: program it again."}));
    EXPECT_EQ(rig.ui.shown[1].caption, "Program to Radio");
    EXPECT_EQ(rig.ui.shown[2].icon, Icon::Exclamation);
    EXPECT_EQ(rig.CountSent("#CEPWR"), 62 + 2 + 1);
    EXPECT_NE(rig.link.Diagnosis().find("0x000B (1 byte)"), std::string::npos) << rig.link.Diagnosis();
    EXPECT_FALSE(rig.success());
    EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
    // The image stays prepared even though the transfer failed.
    EXPECT_EQ(rig.image.GetByte(addr::Checksum), rig.image.Sum8(addr::ChecksumFirst, addr::ChecksumCount));
  }
  {
    // Silent from the 10th byte on: its three attempts, then the end, not 30 s per byte left.
    TransferRig rig(transfer_mode::Program);
    rig.radio.SetFaults({.silentAtCommand = 16, .silentCount = -1});
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"Communication Error!!", "The radio may be partly programmed: program it again."}));
    EXPECT_EQ(rig.CountSent("#CEPWR"), 9 + 3);
    EXPECT_LT(rig.Elapsed(), 40s);
    EXPECT_NE(rig.link.Diagnosis().find("0x000B (1 byte)"), std::string::npos) << rig.link.Diagnosis();
    EXPECT_NE(rig.link.Diagnosis().find("no answer"), std::string::npos) << rig.link.Diagnosis();
  }
}

// What each clear sets in the editor's image, all else kept; what the radio holds after each
// is the fault matrix's.
TEST(ClearTransfer, Clears_SetTheirAreaInTheImageAndSayWhichClearCompleted) {
  struct Case {
    int mode;
    const char* caption;
    int writes;
    std::size_t progressSteps;
    bool (*cleared)(Address);
  };
  const Case cases[] = {
      {transfer_mode::ClearMmsi, "Clear MMSI Data", 1, 3, [](Address a) { return a == addr::UserMmsiCount; }},
      {transfer_mode::ClearDscLog, "Clear DSC Log Data", 28, 1 + 256 + 1,
       [](Address a) { return a >= 0x3600 && a < 0x3D00; }},
      // Twenty-five bytes of each record; the image's last record too, though the radio is not sent it.
      {transfer_mode::ClearDistressLog, "Clear Distress Log Data", 23, 1 + 512 + 1,
       [](Address a) { return a >= 0x3D00 && a < 0x3FFE && (a - 0x3D00) % 32 < 25; }},
  };
  for (const Case& c : cases) {
    TransferRig rig(c.mode);
    for (Address a = 0x3600; a < 0x3FFE; ++a) rig.image.SetByte(a, 0x33);
    rig.image.SetByte(addr::UserMmsiCount, 7);
    const MemoryImage before = rig.image;
    rig.dialog.Ok();
    EXPECT_EQ(rig.ui.Texts(), (Strings{"Complete!!"})) << c.caption;
    EXPECT_EQ(rig.ui.shown[0].caption, c.caption);
    EXPECT_EQ(rig.CountSent("#CEPWR"), c.writes) << c.caption;
    EXPECT_EQ(rig.ui.progress.size(), c.progressSteps) << c.caption;
    EXPECT_EQ(*std::max_element(rig.ui.progress.begin(), rig.ui.progress.end()), 100) << c.caption;
    for (Address a = 0; a < kImageSize; ++a) {
      const int cleared = c.mode == transfer_mode::ClearMmsi ? 0 : 0xFF;
      ASSERT_EQ(rig.image.GetByte(a), c.cleared(a) ? cleared : before.GetByte(a)) << c.caption << " " << AddressText(a);
    }
  }
}

// A failed or cancelled log clear gives the image back as it was.
TEST(ClearTransfer, ClearDscLog_AFailureOrACancelRestoresTheImage) {
  TransferRig failed(transfer_mode::ClearDscLog);
  failed.image.bytes()[0x3600] = 0x22;
  const MemoryImage before = failed.image;
  failed.radio.SetFaults({.silentAtCommand = 10, .silentCount = -1});
  failed.dialog.Ok();
  EXPECT_EQ(failed.ui.Texts(), (Strings{"Communication Error!!", "The radio may be partly cleared: clear it again."}));
  EXPECT_EQ(failed.ui.shown[0].caption, "Program to Radio");
  EXPECT_EQ(failed.image, before);

  // Cancel reaching the loop's own step just before the log area: nothing is written.
  TransferRig cancelled(transfer_mode::ClearDscLog);
  cancelled.image.bytes()[0x3600] = 0x22;
  const MemoryImage untouched = cancelled.image;
  cancelled.ui.onEvents = [&] {
    if (cancelled.ui.progress.size() == 1 + 0x3600 / 64) cancelled.dialog.Cancel();
  };
  cancelled.dialog.Ok();
  EXPECT_EQ(cancelled.CountSent("#CEPWR"), 0);
  EXPECT_EQ(cancelled.Sent().back(), "\x18");
  EXPECT_EQ(cancelled.ui.Texts(), (Strings{"The radio is unchanged."}));
  EXPECT_EQ(cancelled.image, untouched);
}

}  // namespace
}  // namespace qm47::linktest

namespace qm47::linktest {
namespace {

// A single byte of 0x0002-0x003F the radio answered but did not keep.
TEST(ProgramTransfer, Verify_ReadsBackEverySettingsByteAndSaysWhatTheRadioHolds) {
  TransferRig rig(transfer_mode::Program);
  rig.transfers.SetVerify(true);
  rig.radio.SetFaults({.dropWriteAt = 0x0010});
  rig.image.SetByte(0x0010, 0x00);
  rig.radio.memory()[0x0010] = 0x77;
  rig.dialog.Ok();
  EXPECT_FALSE(rig.success());
  ASSERT_TRUE(rig.transfers.readBack().has_value());
  EXPECT_EQ(rig.transfers.readBack()->differing, std::vector<Address>{0x0010});
  EXPECT_EQ(rig.dialog.result()->radio, RadioState::PartlyWritten);
  // The caller lists what was not kept; the dialog closes without a message of its own.
  EXPECT_TRUE(rig.ui.shown.empty());
  EXPECT_EQ(rig.dialog.state(), DialogState::Closed);
}

TEST(ClearTransfer, Clears_ReadBackWhatTheyWroteAndNameTheAreaTheRadioKept) {
  struct Case {
    int mode;
    int drop;
    const char* area;
  };
  for (const Case& c : {Case{transfer_mode::ClearMmsi, 0x0085, "MMSI count (0x0085)"},
                        Case{transfer_mode::ClearDscLog, 0x3640, "DSC log (0x3600-0x3CFF)"},
                        Case{transfer_mode::ClearDistressLog, 0x3D40, "distress log (0x3D00-0x3FDF)"}}) {
    TransferRig rig(c.mode);
    for (Address a = 0x3600; a < 0x3FFE; ++a) rig.radio.memory()[static_cast<std::size_t>(a)] = 0x12;
    rig.radio.memory()[addr::UserMmsiCount] = 5;
    rig.image.SetByte(addr::UserMmsiCount, 5);
    const MemoryImage before = rig.image;
    rig.radio.SetFaults({.dropWriteAt = c.drop});
    rig.dialog.Ok();
    EXPECT_FALSE(rig.success()) << c.area;
    ASSERT_EQ(rig.ui.shown.size(), 2u) << c.area;
    EXPECT_EQ(rig.ui.shown[0].text, "Communication Error!!");
    EXPECT_EQ(rig.ui.shown[0].caption, c.mode == transfer_mode::ClearMmsi ? "Clear Data" : "Program to Radio");
    EXPECT_NE(rig.ui.shown[0].detail.find(c.area), std::string::npos) << rig.ui.shown[0].detail;
    EXPECT_EQ(rig.ui.shown[1].text, "The radio may be partly cleared: clear it again.");
    EXPECT_EQ(rig.image, before) << c.area;
    EXPECT_EQ(rig.dialog.state(), DialogState::Idle);
  }
}

}  // namespace
}  // namespace qm47::linktest
