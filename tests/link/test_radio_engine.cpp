// The virtual radio's own side of the protocol, and the faults it plays.
#include "link_rig.h"

namespace qm47::linktest {
namespace {

constexpr int kSlow = sim::kPowerOnRate;
constexpr int kFast = sim::kFastRate;

// What the radio answers to `text` sent at `baud`.
std::string Say(sim::RadioEngine& radio, std::string_view text, int baud = kSlow) {
  const sim::Reply reply = radio.Receive(Ascii(text), baud);
  return std::string(reply.bytes.begin(), reply.bytes.end());
}

void Connect(sim::RadioEngine& radio) {
  ASSERT_EQ(Say(radio, "P"), "P");
  ASSERT_EQ(Say(radio, "0"), "");
  ASSERT_EQ(Say(radio, "ACMD:002\r\n"), "OK\r\n");
  ASSERT_EQ(Say(radio, "#CMDSY\r\n", kFast), "#CMDOK\r\n");
}

std::string Frame(std::string_view command, std::string_view a, std::string_view l, std::string_view d) {
  const Bytes f = BuildFrame(command, a, l, d);
  return std::string(f.begin(), f.end());
}

TEST(RadioEngine, Engine_AnswersTheToolsCommands) {
  sim::RadioEngine radio(520);
  EXPECT_EQ(Say(radio, "P"), "P");
  EXPECT_EQ(Say(radio, "0"), "");
  EXPECT_EQ(Say(radio, "ACMD:002\r\n"), "OK\r\n");
  EXPECT_TRUE(radio.fastRate());
  EXPECT_EQ(Say(radio, "#CMDSY\r\n", kFast), "#CMDOK\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPSR", "00", "", ""), kFast), "#CMDOK\r\n#CEPSD\t00\t62\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPRD", "3FFE", "02", ""), kFast),
            "#CMDOK\r\n" + Frame("#CEPDT", "3FFE", "02", "0208"));
  EXPECT_EQ(Say(radio, "#CMDOK\r\n", kFast), "");
  EXPECT_EQ(Say(radio, Frame("#CEPWR", "0010", "02", "A55A"), kFast), "#CMDOK\r\n");
  EXPECT_EQ(radio.memory()[0x10], 0xA5);
  EXPECT_EQ(radio.memory()[0x11], 0x5A);
  EXPECT_EQ(Say(radio, "\x18", kFast), "\x06");
  EXPECT_EQ(radio.writeCount(), 1);
  EXPECT_EQ(radio.strayBytes(), 0u);
}

TEST(RadioEngine, Rate_OnlyBytesAtTheRadiosRateAreHeard) {
  sim::RadioEngine radio;
  EXPECT_EQ(Say(radio, "#CMDSY\r\n", kFast), "") << "57600 before the rate command";
  EXPECT_EQ(radio.rate(), kSlow);
  const sim::Reply ok = radio.Receive(Ascii("ACMD:002\r\n"), kSlow);
  EXPECT_EQ(ok.bytes, Ascii("OK\r\n"));
  EXPECT_EQ(ok.rate, kSlow) << "the OK leaves before the switch";
  EXPECT_EQ(radio.rate(), kFast);

  EXPECT_EQ(Say(radio, "#CMDSY\r\n", kSlow), "") << "the old rate is noise now";
  EXPECT_EQ(Say(radio, "\x18", 9600), "") << "no abort is confirmed at a wrong rate";
  // A noise byte garbles the line it falls into: what follows is a line of its own.
  EXPECT_EQ(Say(radio, "#CMD", kFast), "");
  EXPECT_EQ(Say(radio, "X", 9600), "");
  EXPECT_EQ(Say(radio, "SY\r\n", kFast), "ERROR\r\n");
  EXPECT_EQ(radio.toolLines(), (Strings{"ACMD:002", "SY"}));

  const sim::Reply sync = radio.Receive(Ascii("#CMDSY\r\n"), kFast);
  EXPECT_EQ(sync.bytes, Ascii("#CMDOK\r\n"));
  EXPECT_EQ(sync.rate, kFast);
  const sim::RateTally t = radio.tally();
  EXPECT_EQ(t.heard, 10u + 4 + 4 + 8);
  EXPECT_EQ(t.stray, 8u + 8 + 1 + 1);
  EXPECT_EQ(t.probeNoise, 0u);
  EXPECT_NE(radio.StrayReport().find("\"#CMDSY\\r\\n\" at 57600 baud (radio at 19200)"), std::string::npos)
      << radio.StrayReport();
}

TEST(RadioEngine, Rate_ASecondConnectsProbeIsExpectedNoise) {
  sim::RadioEngine radio;
  Connect(radio);
  // The radio kept 57600; a new connect starts at 19200 all the same.
  EXPECT_EQ(Say(radio, "P"), "");
  EXPECT_EQ(Say(radio, "0"), "");
  EXPECT_EQ(Say(radio, "ACMD:0"), "");
  EXPECT_EQ(Say(radio, "02\r\n"), "");
  EXPECT_EQ(Say(radio, "#CMDSY\r\n", kFast), "#CMDOK\r\n");
  EXPECT_EQ(radio.tally().probeNoise, 12u);
  EXPECT_EQ(radio.strayBytes(), 0u);
  EXPECT_EQ(radio.StrayReport(), "");
  // Anything else at a wrong rate is stray, a probe's bytes included.
  EXPECT_EQ(Say(radio, "ACMD:003\r\n"), "");
  EXPECT_EQ(Say(radio, "P", 9600), "");
  EXPECT_EQ(Say(radio, "ACMD:00"), "");
  EXPECT_EQ(radio.strayBytes(), 10u + 1 + 7) << "a rate command cut short";
  EXPECT_EQ(radio.tally().probeNoise, 12u);
}

TEST(RadioEngine, Pipe_PassesAnAnswerOnlyToAPortAtTheRadiosRate) {
  VirtualClock clock;
  sim::RadioEngine radio;
  sim::MemoryPipe pipe(radio, clock);
  const auto say = [&](const std::string& settings, std::string_view text) {
    if (!pipe.IsOpen() || pipe.Settings() != settings) {
      EXPECT_FALSE(pipe.Open(settings).has_value());
    }
    EXPECT_FALSE(pipe.Write(Ascii(text)).has_value());
    std::string answer;
    while (const auto b = pipe.ReadByte()) answer.push_back(static_cast<char>(*b));
    return answer;
  };
  EXPECT_EQ(say("9600,N,8,1", "P"), "");
  EXPECT_EQ(say("19200,N,8,1", "P"), "P");
  EXPECT_EQ(say("19200,N,8,1", "ACMD:002\r\n"), "OK\r\n");
  EXPECT_EQ(say("19200,N,8,1", "#CMDSY\r\n"), "");
  EXPECT_EQ(say("57600,N,8,1", "#CMDSY\r\n"), "#CMDOK\r\n");
  // Nor does a rewritten answer reach a port at another rate.
  pipe.SetAnswerFilter(AlwaysAnswer("#CMDOK\r\n"));
  EXPECT_EQ(say("19200,N,8,1", "#CMDSY\r\n"), "");
  EXPECT_EQ(radio.strayBytes(), 1u + 8 + 8);
}

TEST(RadioEngine, Engine_RefusesWhatARadioWouldNotTake) {
  sim::RadioEngine radio;
  EXPECT_EQ(Say(radio, "#CEPRD\t0000\t40\t00\r\n"), "ERROR\r\n") << "bad checksum";
  EXPECT_EQ(Say(radio, Frame("#CEPRD", "3FF0", "40", "")), "ERROR\r\n") << "beyond the memory";
  EXPECT_EQ(Say(radio, Frame("#CEPWR", "0010", "02", "A5")), "ERROR\r\n") << "short data";
  EXPECT_EQ(Say(radio, Frame("#CEPWR", "0010", "01", "ZZ")), "ERROR\r\n") << "not hexadecimal";
  EXPECT_EQ(Say(radio, "HELLO\r\n"), "ERROR\r\n");
  EXPECT_EQ(Say(radio, std::string(2000, '#') + "\r\n"), "ERROR\r\n") << "overlong";
  EXPECT_EQ(radio.memory()[0x10], 0xFF);
  EXPECT_EQ(radio.writeCount(), 0);
}

TEST(RadioEngine, Faults_CountCommandsFromOne) {
  sim::RadioEngine radio;
  radio.SetFaults({.busyCount = 2, .errorAtCommand = 2, .corruptAtData = 1, .silentAtCommand = 4});
  EXPECT_EQ(Say(radio, "#CMDSY\r\n"), "#CMDOK\r\n");
  EXPECT_EQ(Say(radio, "#CMDSY\r\n"), "ERROR\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPSR", "00", "", "")), "#CMDOK\r\n#CEPSD\t01\t63\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPSR", "00", "", "")), "");
  EXPECT_EQ(Say(radio, Frame("#CEPSR", "00", "", "")), "#CMDOK\r\n#CEPSD\t01\t63\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPSR", "00", "", "")), "#CMDOK\r\n#CEPSD\t00\t62\r\n");
  const std::string data = Say(radio, Frame("#CEPRD", "0000", "02", ""));
  ASSERT_EQ(data.substr(0, 8), "#CMDOK\r\n");
  EXPECT_FALSE(CheckFrame(data.substr(8, data.size() - 10)));
}

}  // namespace
}  // namespace qm47::linktest
