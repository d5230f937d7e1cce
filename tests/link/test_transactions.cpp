// Connect, synchronisation and the two block transactions against the virtual radio.
#include "link_rig.h"

namespace qm47::linktest {
namespace {

// Rewrites the radio's data answer (CR LF included) through `edit`, fixing its checksum.
std::function<Bytes(const Bytes&)> EditDataAnswer(std::function<std::string(std::string)> edit) {
  return [edit](const Bytes& answer) {
    std::string text(answer.begin(), answer.end());
    const auto at = text.find("#CEPDT");
    if (at == std::string::npos) return answer;
    std::string frame = text.substr(at, text.size() - at - 4);  // without checksum and CR LF
    frame = edit(frame);
    text = text.substr(0, at) + frame + HexField(FrameChecksum(frame), 2) + "\r\n";
    return Ascii(text);
  };
}

TEST(Connect, Connect_SendsTheDocumentedSequenceAtTheDocumentedRates) {
  LinkRig rig({.debug = true});
  EXPECT_TRUE(rig.link.Connect());
  EXPECT_EQ(rig.Sent(), (Strings{"P", "0", "ACMD:002", "#CMDSY", "#CMDSY"}));
  EXPECT_EQ(rig.pipe.opens(), (Strings{"19200,N,8,1", "57600,N,8,1"}));
  EXPECT_TRUE(rig.radio.fastRate());
  EXPECT_TRUE(rig.ui.shown.empty());  // its monitor texts are the dialog's test

  // The 19200-baud mode, for a radio that stays at 19200: it does not answer the rate command.
  LinkRig slow({.baud19200 = true});
  slow.radio.SetFaults({.slowOnly = true});
  EXPECT_TRUE(slow.link.Connect());
  EXPECT_EQ(slow.pipe.opens(), (Strings{"19200,N,8,1", "19200,N,8,1"}));
  // Outside debug mode: no monitor texts and none of their pauses.
  EXPECT_TRUE(slow.ui.monitor.empty());
  EXPECT_LT(slow.Elapsed(), 2100ms);
  EXPECT_GE(slow.Elapsed(), 2000ms);

  // Without that mode such a radio echoes the ping, then falls silent: the account says why.
  LinkRig stays;
  stays.radio.SetFaults({.slowOnly = true});
  stays.allowStrayBytes = true;  // the fast #CMDSY is noise to it
  EXPECT_FALSE(stays.link.Connect());
  EXPECT_NE(stays.link.Diagnosis().find("needs the 19200-baud mode"), std::string::npos) << stays.link.Diagnosis();
}

TEST(Connect, Connect_WithoutARadioFailsQuietlyAfterEveryAttempt) {
  LinkRig rig({.debug = true});
  rig.radio.SetFaults({.silentAtCommand = 1, .silentCount = -1, .noPingEcho = true});
  rig.allowStrayBytes = true;  // nobody listens at any rate
  EXPECT_FALSE(rig.link.Connect());
  EXPECT_TRUE(rig.ui.shown.empty());
  EXPECT_EQ(rig.CountSent("P"), 3);
  EXPECT_EQ(rig.CountSent("0"), 0);
  // Two passes of three #CMDSY attempts, 10 s each.
  EXPECT_EQ(rig.CountSent("#CMDSY"), 6);
  EXPECT_EQ(rig.ui.monitor.front(), "19200,N,8,1");
  EXPECT_EQ(rig.ui.monitor[1], "sync failed!!");
  EXPECT_EQ(rig.ui.monitor.back(), "can'not Receive '#CMDOK' !!");
  // 3 s of pings, 1 s for the rate answer, 1 s pause, 60 s of sync, plus the monitor pauses.
  const auto monitorPauses = 500ms * static_cast<int>(rig.ui.monitor.size());
  EXPECT_GT(rig.Elapsed() - monitorPauses, 65s);
  EXPECT_LT(rig.Elapsed() - monitorPauses, 66s);
  EXPECT_NE(rig.link.Diagnosis().find("UART"), std::string::npos);
}

TEST(Connect, Connect_JudgesTheRateAnswer) {
  {
    LinkRig rig;
    rig.radio.SetFaults({.errorAtCommand = 1});
    EXPECT_FALSE(rig.link.Connect());
    ASSERT_EQ(rig.ui.shown.size(), 1u);
    EXPECT_EQ(rig.ui.shown[0].text, "ACMD Command error!!");
    EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio");
    EXPECT_EQ(rig.ui.shown[0].icon, Icon::Critical);
    EXPECT_EQ(rig.CountSent("#CMDSY"), 0);
  }
  {
    // CR without LF: "error!!", and the link still goes on to synchronise.
    LinkRig rig;
    rig.pipe.SetAnswerFilter([](const Bytes& a) {
      const std::string t(a.begin(), a.end());
      return Ascii(t == "OK\r\n" ? "OK\rX" : t);
    });
    EXPECT_TRUE(rig.link.Connect());
    EXPECT_EQ(rig.ui.Texts(), (Strings{"error!!"}));
  }
  {
    // No ping echo and no rate answer: the radio is already fast from an earlier connect.
    LinkRig rig;
    rig.radio.SwitchToFastRate();
    EXPECT_TRUE(rig.link.Connect());
    EXPECT_TRUE(rig.ui.shown.empty());
    EXPECT_EQ(rig.Sent(), (Strings{"P", "P", "P", "ACMD:002", "#CMDSY", "#CMDSY"}));
  }
}

TEST(Connect, Connect_APortThatWillNotOpenEndsTheAttemptInOrder) {
  LinkRig rig({.debug = true});
  rig.pipe.FailOpens(IoError{70, "Permission denied"});
  EXPECT_FALSE(rig.link.Connect());
  EXPECT_EQ(rig.ui.Texts(), (Strings{"port inicialize error!!"}));
  EXPECT_TRUE(rig.pipe.written().empty());
  EXPECT_NE(rig.ErrorLogText().find("frmRadio.PortInit -> 70Permission denied\r\n"), std::string::npos);

  // One more line names the device, why and what to do.
  EXPECT_EQ(rig.ui.shown[0].detail, "/dev/ttyTEST: Permission denied.");
  EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio");

  LinkRig reopen({.debug = true});
  reopen.pipe.FailOpens(IoError{8005, "Port already open"}, 1);
  EXPECT_FALSE(reopen.link.Connect());
  EXPECT_EQ(reopen.ui.Texts(), (Strings{"port inicialize error!!"}));
  EXPECT_EQ(reopen.ui.shown[0].detail,
            "/dev/ttyTEST: Port already open. Close the program that holds it (a terminal program, another QM47) "
            "and try again.");
  EXPECT_NE(reopen.ErrorLogText().find("frmRadio.PortInitCP -> 8005Port already open"), std::string::npos);
  EXPECT_EQ(reopen.CountSent("#CMDSY"), 0);
}

TEST(Connect, PortOpen_OpensAt9600OnlyWhenClosedAndLogsAFailure) {
  LinkRig rig({.debug = true});
  EXPECT_TRUE(rig.link.PortOpen());
  EXPECT_TRUE(rig.link.PortOpen());
  EXPECT_EQ(rig.pipe.opens(), (Strings{"9600,N,8,1"}));
  EXPECT_TRUE(rig.ui.monitor.empty());

  // A block loop that cannot open the port fails quietly instead of finishing.
  TransferRig closed(transfer_mode::Read, {.debug = true});
  closed.pipe.FailOpens(IoError{8002, "Invalid port number"});
  std::vector<std::uint8_t> buffer(kImageSize, 0);
  EXPECT_EQ(closed.transfers.ReadData(buffer), Ending::Failed);
  EXPECT_TRUE(closed.ui.shown.empty());
  EXPECT_NE(closed.ErrorLogText().find(":frmRadio.PortOpen -> 8002Invalid port number\r\n"), std::string::npos);
}

TEST(Connect, SyncLink_RetriesErrorRepliesAndGivesUpAfterThree) {
  FastRig rig;
  rig.radio.SetFaults({.errorAtCommand = 1, .errorCount = 2});
  EXPECT_TRUE(rig.link.SyncLink());
  EXPECT_EQ(rig.CountSent("#CMDSY"), 4);

  FastRig failing({.debug = true});
  failing.radio.SetFaults({.errorAtCommand = 1, .errorCount = 3});
  EXPECT_FALSE(failing.link.SyncLink());
  // The first pass failed; the second still ran and succeeded.
  EXPECT_EQ(failing.CountSent("#CMDSY"), 4);
  EXPECT_EQ(failing.ui.monitor.back(), "can'not Receive '#CMDOK' !!");

  // An answer that is neither "#CMDOK" nor "ERROR" stops at once.
  FastRig odd;
  odd.pipe.SetAnswerFilter(AlwaysAnswer("#CMDNG\r\n"));
  EXPECT_FALSE(odd.link.SyncLink());
  EXPECT_EQ(odd.CountSent("#CMDSY"), 1);
}

TEST(ReadBlock, ReadBlock_StoresTheAnswerAndAcknowledgesIt) {
  FastRig rig;
  for (int i = 0; i < 64; ++i) rig.radio.memory()[static_cast<std::size_t>(0x40 + i)] = static_cast<std::uint8_t>(i * 3);
  std::vector<std::uint8_t> buffer(kImageSize, 0xEE);
  EXPECT_TRUE(rig.link.ReadBlock(buffer, 0x0040, 64).done());
  for (int i = 0; i < 64; ++i) EXPECT_EQ(buffer[static_cast<std::size_t>(0x40 + i)], i * 3);
  EXPECT_EQ(buffer[0x3F], 0xEE);
  EXPECT_EQ(buffer[0x80], 0xEE);
  EXPECT_EQ(rig.Sent(), (Strings{"#CEPRD\t0040\t40\t6A", "#CMDOK"}));
}

TEST(ReadBlock, ReadBlock_RetriesThenAsksToResynchronise) {
  {
    FastRig rig;
    rig.radio.SetFaults({.errorAtCommand = 1, .errorCount = 3});
    rig.ui.answers = {Answer::Ok};
    std::vector<std::uint8_t> buffer(kImageSize, 0);
    EXPECT_TRUE(rig.link.ReadBlock(buffer, 0x3FFE, 2).done());
    ASSERT_EQ(rig.ui.shown.size(), 1u);
    EXPECT_EQ(rig.ui.shown[0].text, "confirm the synchronization of the communication");
    EXPECT_EQ(rig.ui.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(rig.ui.shown[0].icon, Icon::Question);
    EXPECT_EQ(rig.ui.shown[0].caption, "Read from Radio");
    EXPECT_EQ(rig.Sent(), (Strings{"#CEPRD\t3FFE\t02\t1E", "#CEPRD\t3FFE\t02\t1E", "#CEPRD\t3FFE\t02\t1E", "#CMDSY",
                                   "#CMDSY", "#CEPRD\t3FFE\t02\t1E", "#CMDOK"}));
    EXPECT_EQ(buffer[0x3FFE], 0x10);
    EXPECT_EQ(buffer[0x3FFF], 0x04);
  }
  {
    // The granted attempt draws "ERROR" again: the question comes again; Cancel gives up.
    FastRig rig;
    // Every read request draws "ERROR"; synchronising works.
    rig.pipe.SetAnswerFilter([](const Bytes& a) {
      return std::string(a.begin(), a.end()).find("#CEPDT") != std::string::npos ? Ascii("ERROR\r\n") : a;
    });
    rig.ui.answers = {Answer::Ok, Answer::Cancel};
    std::vector<std::uint8_t> buffer(kImageSize, 0);
    EXPECT_EQ(rig.link.ReadBlock(buffer, 0, 2).ending, Ending::Failed);
    EXPECT_EQ(rig.ui.shown.size(), 2u);
    EXPECT_EQ(rig.CountSent("#CEPRD"), 4);
    EXPECT_EQ(buffer[0], 0);
  }
}

TEST(ReadBlock, ReceiveData_AnswersEveryFaultyDataAnswerAsDocumented) {
  const auto run = [](auto setup) {
    auto rig = std::make_unique<FastRig>();
    setup(*rig);
    std::vector<std::uint8_t> buffer(kImageSize, 0xEE);
    EXPECT_EQ(rig->link.ReadBlock(buffer, 0x0040, 64).ending, Ending::Failed);
    EXPECT_EQ(buffer[0x40], 0xEE) << "a failed block leaves the buffer alone";
    return rig;
  };

  auto corrupt = run([](LinkRig& r) { r.radio.SetFaults({.corruptAtData = 1}); });
  EXPECT_TRUE(corrupt->ui.shown.empty());
  EXPECT_EQ(corrupt->Sent().back(), "#CMDSM");

  auto address = run([](LinkRig& r) { r.radio.SetFaults({.wrongAddressAtData = 1}); });
  EXPECT_EQ(address->ui.Texts(), (Strings{"address error!!"}));
  EXPECT_EQ(address->Sent().back(), "#CEPRD\t0040\t40\t6A") << "nothing is sent back";

  auto length = run([](LinkRig& r) {
    r.pipe.SetAnswerFilter(EditDataAnswer([](std::string f) { return f.substr(0, f.size() - 3) + "\t"; }));
  });
  EXPECT_EQ(length->ui.Texts(), (Strings{"data error!!"}));

  auto header = run([](LinkRig& r) {
    r.pipe.SetAnswerFilter(EditDataAnswer([](std::string f) { return "#CEPDX" + f.substr(6); }));
  });
  EXPECT_TRUE(header->ui.shown.empty());
  EXPECT_EQ(header->Sent().back(), "#CMDER");

  auto fields = run([](LinkRig& r) {
    r.pipe.SetAnswerFilter(EditDataAnswer([](std::string) { return std::string("#CEPDT\t0040\t"); }));
  });
  EXPECT_TRUE(fields->ui.shown.empty());
  EXPECT_EQ(fields->Sent().back(), "#CEPRD\t0040\t40\t6A");

  auto silent = run([](LinkRig& r) { r.pipe.SetAnswerFilter(AlwaysAnswer("#CMDOK\r\n")); });
  EXPECT_EQ(silent->ui.Texts(), (Strings{"time out!!"}));

  // Lower-case data digits are accepted.
  FastRig lower;
  lower.radio.memory()[0x40] = 0xAB;
  lower.pipe.SetAnswerFilter(EditDataAnswer([](std::string f) {
    for (char& c : f) c = c == 'A' ? 'a' : c == 'B' ? 'b' : c == 'F' ? 'f' : c;
    return f;
  }));
  std::vector<std::uint8_t> buffer(kImageSize, 0);
  EXPECT_TRUE(lower.link.ReadBlock(buffer, 0x0040, 64).done());
  EXPECT_EQ(buffer[0x40], 0xAB);
}

TEST(ReadBlock, ReceiveData_CancelWhileWaitingForTheHeaderSaysSo) {
  FastRig rig;
  rig.pipe.SetAnswerFilter(AlwaysAnswer("#CMDOK\r\n"));
  int turns = 0;
  rig.ui.onEvents = [&] {
    if (++turns == 20) rig.link.RequestCancel();
  };
  std::vector<std::uint8_t> buffer(kImageSize, 0);
  EXPECT_EQ(rig.link.ReadBlock(buffer, 0, 64).ending, Ending::Cancelled);
  EXPECT_EQ(rig.ui.Texts(), (Strings{"cancel!!"}));
}

TEST(WriteBlock, WriteBlock_AFailedResynchronisationOrABlockOutsideTheImageEndsIt) {
  MemoryImage image;
  FastRig refused;
  refused.radio.SetFaults({.errorAtCommand = 1, .errorCount = -1});
  refused.ui.answers = {Answer::Ok};  // then a failed re-synchronisation
  EXPECT_EQ(refused.link.WriteBlock(image, 0x0040, 64).ending, Ending::Failed);
  EXPECT_EQ(refused.CountSent("#CEPWR"), 3);
  EXPECT_EQ(refused.ui.shown.size(), 1u);

  // A block outside the image is refused before anything is sent.
  FastRig outside;
  EXPECT_EQ(outside.link.WriteBlock(image, kImageSize, 0).ending, Ending::Failed);
  EXPECT_EQ(outside.link.WriteBlock(image, kImageSize - 1, 2).ending, Ending::Failed);
  EXPECT_TRUE(outside.pipe.written().empty());
}

TEST(WriteBlock, SendCancel_SendsTheAbortByteAndWaitsForItsConfirmation) {
  // As a cancelled loop calls it: with the cancel already asked for.
  FastRig rig;
  rig.link.RequestCancel();
  rig.link.SendCancel();
  EXPECT_EQ(rig.pipe.written(), Bytes{kCan});
  EXPECT_EQ(rig.pipe.BytesWaiting(), 0u) << "the confirmation was taken";
  EXPECT_LT(rig.Elapsed(), 1s);

  FastRig silent;
  silent.link.RequestCancel();
  silent.pipe.SetAnswerFilter([](const Bytes&) { return Bytes{}; });
  silent.link.SendCancel();
  EXPECT_GE(silent.Elapsed(), 10s);
  EXPECT_LT(silent.Elapsed(), 11s);
}

}  // namespace
}  // namespace qm47::linktest
