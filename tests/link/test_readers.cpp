// The readers' outcomes, driven by raw bytes from the "radio" side of the pipe.
#include "link_rig.h"
// The file layer's read type lives beside the link's: both headers in one unit must compile.
#include "files/atomic_file.h"

namespace qm47::linktest {
namespace {

TEST(Readers, ReadChars_ErrorInAnyCaseIsAnErrorReplyAfterItsFifthCharacter) {
  FastRig rig;
  rig.pipe.Inject("error\r\n");
  const LineRead r = rig.link.ReadChars(6, 10s);
  EXPECT_EQ(r.status, LinkStatus::ErrorReply);
  EXPECT_EQ(r.text, "error");
  EXPECT_EQ(rig.pipe.BytesWaiting(), 2u);

  rig.pipe.FlushInput();
  rig.pipe.Inject("#CMDOK");
  EXPECT_EQ(rig.link.ReadChars(6, 10s).status, LinkStatus::Ok);
}

TEST(Readers, ReadLineAndReadReply_TreatCrWithoutLfDifferently) {
  FastRig rig;
  // ReadLine: CR, anything, LF.
  rig.pipe.Inject("\t0040\r junk\n");
  LineRead r = rig.link.ReadLine(10s);
  EXPECT_EQ(r.status, LinkStatus::Ok);
  EXPECT_EQ(r.text, "\t0040");
  // ReadReply: CR must be followed by LF at once.
  rig.pipe.Inject("OK\rX\n");
  r = rig.link.ReadReply(1s);
  EXPECT_EQ(r.status, LinkStatus::Unexpected);
  EXPECT_EQ(r.text, "OK");
  rig.pipe.FlushInput();
  rig.pipe.Inject("OK\r\n");
  r = rig.link.ReadReply(1s);
  EXPECT_EQ(r.status, LinkStatus::Ok);
  EXPECT_EQ(r.text, "OK");
}

TEST(Readers, Readers_GiveUpJustAfterTheirDeadline) {
  FastRig rig;
  auto start = rig.clock.Now();
  EXPECT_EQ(rig.link.WaitByte('P', 1s), LinkStatus::TimedOut);
  auto waited = rig.clock.Now() - start;
  EXPECT_GT(waited, 1s);
  EXPECT_LT(waited, 1s + 50ms);

  rig.pipe.Inject("#CM");
  start = rig.clock.Now();
  const LineRead r = rig.link.ReadChars(6, 10s);
  EXPECT_EQ(r.status, LinkStatus::TimedOut);
  EXPECT_EQ(r.text, "#CM");
  waited = rig.clock.Now() - start;
  EXPECT_GT(waited, 10s);
  EXPECT_LT(waited, 10s + 50ms);

  // One deadline covers both halves of a line.
  rig.pipe.Inject("abc\r");
  start = rig.clock.Now();
  EXPECT_EQ(rig.link.ReadLine(10s).status, LinkStatus::TimedOut);
  EXPECT_LT(rig.clock.Now() - start, 10s + 50ms);
}

TEST(Readers, Readers_StopAtACancelButNotBeforeALineEnd) {
  FastRig rig;
  rig.pipe.Inject("#CMDOK\r\n");
  rig.link.RequestCancel();
  EXPECT_EQ(rig.link.ReadChars(6, 10s).status, LinkStatus::Cancelled);
  EXPECT_EQ(rig.link.WaitByte('M', 1s), LinkStatus::Cancelled);
  // The abort's confirmation is awaited whatever the user asked.
  rig.pipe.Inject("\x06");
  EXPECT_EQ(rig.link.WaitByte(kAck, 1s, false), LinkStatus::Ok);

  // A line end taken in a turn counts before a cancel asked for during that turn.
  FastRig late;
  late.pipe.Inject("OK\r\n");
  int turn = 0;
  late.ui.onEvents = [&] {
    if (++turn == 4) late.link.RequestCancel();
  };
  EXPECT_EQ(late.link.ReadReply(1s).status, LinkStatus::Ok);
  late.pipe.Inject("OK\r\n");
  EXPECT_EQ(late.link.ReadChars(6, 1s).status, LinkStatus::Cancelled);
}

TEST(Readers, ReadAck_NeedsTheWholeAcknowledgementLine) {
  FastRig rig;
  rig.pipe.Inject("#CMDOK\r\n");
  EXPECT_EQ(rig.link.ReadAck(), LinkStatus::Ok);

  rig.pipe.Inject("#CMDER\r\n");
  EXPECT_EQ(rig.link.ReadAck(), LinkStatus::Unexpected);

  rig.pipe.FlushInput();
  rig.pipe.Inject("#CMDOK");  // no line end
  EXPECT_EQ(rig.link.ReadAck(), LinkStatus::Unexpected);

  // "ERROR" takes its line end with it, so the next acknowledgement reads clean.
  rig.pipe.Inject("ERROR\r\n#CMDOK\r\n");
  EXPECT_EQ(rig.link.ReadAck(), LinkStatus::ErrorReply);
  EXPECT_EQ(rig.link.ReadAck(), LinkStatus::Ok);

  EXPECT_EQ(rig.link.ReadAck(), LinkStatus::TimedOut);
}

TEST(Readers, ReadLine_AnEndlessLineIsBoundedAndMarked) {
  FastRig rig;
  rig.pipe.Inject(std::string(3 * kMaxLineLength, 'A') + "\r\n");
  const LineRead r = rig.link.ReadLine(10s);
  EXPECT_EQ(r.status, LinkStatus::Ok);
  EXPECT_TRUE(r.overlong);
  EXPECT_EQ(r.text.size(), kMaxLineLength);
}

TEST(Readers, Readers_OnAClosedPortRaiseAPortFault) {
  LinkRig rig;
  try {
    rig.link.ReadAck();
    FAIL() << "no fault";
  } catch (const LinkFault& f) {
    EXPECT_EQ(f.error.number, 8018);
  }
}

}  // namespace
}  // namespace qm47::linktest
