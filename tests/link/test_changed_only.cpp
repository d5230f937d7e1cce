// Programming only what changed: whatever the edits, the radio ends holding exactly what a
// full program leaves, and the whole check finds what changed in the radio since its read.
#include <gtest/gtest.h>

#include "link_rig.h"
#include "record_builder.h"

namespace qm47::linktest {
namespace {

// A program rig whose radio holds the settings of a random record, read by the session:
// the editor's record and image are that record's until a test edits them.
struct ReadRadio : TransferRig {
  explicit ReadRadio(unsigned seed, RigOptions o = {}) : TransferRig(transfer_mode::Program, o) {
    testing::RandomRecord(seed).Fill(record);
    PrepareImageForExport(record, image, model.number);
    auto& m = radio.memory();
    for (Address a = 0; a < kImageSize; ++a) {
      if (IsSettingsAddress(a)) m[static_cast<std::size_t>(a)] = image.GetByte(a);
    }
    std::copy(m.begin(), m.end(), read.bytes().begin());
  }
  void Program(ProgramCheck check) {
    ProgramOptions o;
    o.check = check;
    o.changedOnly = true;
    o.knownRadio = read;
    transfers.SetProgramOptions(o);
    before = radio.memory();
    dialog.Ok();
  }
  // Settings as the image being programmed holds them; every other byte as it was.
  ::testing::AssertionResult HoldsWhatAFullProgramLeaves() const {
    for (Address a = 0; a < kImageSize; ++a) {
      const auto i = static_cast<std::size_t>(a);
      const std::uint8_t want = IsSettingsAddress(a) ? image.GetByte(a) : before[i];
      if (radio.memory()[i] != want) return ::testing::AssertionFailure() << "differs at " << AddressText(a);
    }
    return ::testing::AssertionSuccess();
  }
  MemoryImage read;
  sim::Memory before{};
};

TEST(ChangedOnly, RandomEditsLeaveTheRadioAsAFullProgramWouldWithFewerWrites) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    ReadRadio rig(seed, {.model = 1 + static_cast<int>(seed % 4)});
    testing::RandomRecord edits(seed + 1000);
    for (int n = edits.Int(1, 4); n > 0; --n) {
      edits.Channel(rig.record.CHUSA[static_cast<std::size_t>(edits.Int(0, 50))], true);
    }
    if (edits.Flag()) rig.record.DscBasic.UserMmsi = edits.Digits(9);
    const WritePlan plan = ChangedWritePlan(rig.read, [&] {
      MemoryImage sent = rig.image;
      SettingsRecord rec = rig.record;
      PrepareImageForExport(rec, sent, rig.model.number);
      return sent;
    }());
    rig.Program(seed % 2 ? ProgramCheck::Whole : ProgramCheck::Written);
    ASSERT_TRUE(rig.success()) << ::testing::PrintToString(rig.ui.Texts());
    EXPECT_TRUE(rig.HoldsWhatAFullProgramLeaves());
    EXPECT_EQ(rig.CountSent("#CEPWR"), plan.requests());
    EXPECT_LT(plan.requests(), WritePlan{}.requests());
  }
}

TEST(ChangedOnly, TheWholeCheckCorrectsWhatChangedInTheRadioSinceItsReadTheWrittenCheckCannot) {
  for (const ProgramCheck check : {ProgramCheck::Whole, ProgramCheck::Written}) {
    ReadRadio rig(5);
    rig.record.CHUSA[1].ChTag = "HARBOR";
    // Someone renamed another channel on the radio after the session read it.
    rig.radio.memory()[addr::RegionNames[0] + addr::ChannelNameLength * 40] ^= 0x01;
    rig.Program(check);
    EXPECT_TRUE(rig.success());
    if (check == ProgramCheck::Whole) {
      EXPECT_TRUE(rig.HoldsWhatAFullProgramLeaves());
      EXPECT_EQ(rig.CountSent("#CEPWR"), 2);
    } else {
      EXPECT_FALSE(rig.HoldsWhatAFullProgramLeaves());
      EXPECT_EQ(rig.CountSent("#CEPWR"), 1);
    }
  }
}

TEST(ChangedOnly, ADroppedWriteIsCaughtByEitherCheck) {
  for (const ProgramCheck check : {ProgramCheck::Whole, ProgramCheck::Written}) {
    ReadRadio rig(6);
    rig.record.CHUSA[1].ChTag = "HARBOR";
    rig.radio.SetFaults({.dropWriteAt = addr::RegionNames[0] + addr::ChannelNameLength});
    rig.Program(check);
    EXPECT_FALSE(rig.success());
    ASSERT_TRUE(rig.transfers.readBack().has_value());
    EXPECT_FALSE(rig.transfers.readBack()->differing.empty());
    EXPECT_EQ(rig.dialog.result()->radio, RadioState::PartlyWritten);
    // Read back: what the radio holds is known again.
    EXPECT_FALSE(rig.dialog.result()->radioUnknown);
  }
}

TEST(ChangedOnly, NothingToWriteSaysSoAndAWrittenCheckReadsNothing) {
  ReadRadio written(7);
  written.Program(ProgramCheck::Written);
  EXPECT_TRUE(written.success());
  EXPECT_EQ(written.ui.Texts(), (Strings{"The radio already holds these settings."}));
  EXPECT_EQ(written.CountSent("#CEPWR"), 0);
  EXPECT_EQ(written.CountSent("#CEPRD"), 3);  // the model words and the MMSI
  EXPECT_EQ(written.dialog.result()->radio, RadioState::Unchanged);

  ReadRadio whole(7);
  whole.Program(ProgramCheck::Whole);
  EXPECT_EQ(whole.ui.Texts(), (Strings{"The radio already holds these settings."}));
  EXPECT_EQ(whole.CountSent("#CEPWR"), 0);
  EXPECT_GT(whole.CountSent("#CEPRD"), 200);
}

TEST(ChangedOnly, AnotherRadioOrAnotherMmsiIsWrittenWhole) {
  ReadRadio rig(8);
  rig.record.CHUSA[1].ChTag = "HARBOR";
  rig.radio.memory()[addr::UserMmsi] ^= 0x10;
  rig.Program(ProgramCheck::Written);
  EXPECT_TRUE(rig.success());
  EXPECT_EQ(rig.CountSent("#CEPWR"), WritePlan{}.requests());
  EXPECT_TRUE(rig.HoldsWhatAFullProgramLeaves());
}

TEST(ChangedOnly, ACancelSaysWhichAreasWereSent) {
  ReadRadio rig(9);
  for (int ch = 1; ch <= 40; ch += 13) rig.record.CHUSA[static_cast<std::size_t>(ch)].ChTag = "RENAMED";
  rig.ui.onEvents = [&] {
    if (rig.CountSent("#CEPWR") == 2 && !rig.link.CancelRequested()) rig.dialog.Cancel();
  };
  rig.Program(ProgramCheck::Whole);
  EXPECT_FALSE(rig.success());
  const TransferResult& r = *rig.dialog.result();
  EXPECT_EQ(r.radio, RadioState::PartlyWritten);
  EXPECT_TRUE(r.radioUnknown);
  ASSERT_EQ(r.written.size(), 2u);
  ASSERT_FALSE(rig.ui.shown.empty());
  EXPECT_NE(rig.ui.shown.back().detail.find("Sent to the radio before it stopped: " + AreasText(r.written)), std::string::npos)
      << rig.ui.shown.back().detail;
}

TEST(ChangedOnly, AreasAreJoinedWhereTheyMeet) {
  EXPECT_EQ(AreasText({{0x0040, 64}, {0x0002, 1}, {0x0003, 1}, {0x0080, 64}, {0x0300, 64}}),
            "0x0002-0x0003, 0x0040-0x00BF, 0x0300-0x033F");
}

}  // namespace
}  // namespace qm47::linktest
