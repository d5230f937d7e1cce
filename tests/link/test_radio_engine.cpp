// The virtual radio's own side of the protocol, and the faults it plays.
#include "link_rig.h"

namespace qm47::linktest {
namespace {

std::string Say(sim::RadioEngine& radio, std::string_view text) {
  const Bytes out = radio.Receive(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  return std::string(out.begin(), out.end());
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
  EXPECT_EQ(Say(radio, "#CMDSY\r\n"), "#CMDOK\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPSR", "00", "", "")), "#CMDOK\r\n#CEPSD\t00\t62\r\n");
  EXPECT_EQ(Say(radio, Frame("#CEPRD", "3FFE", "02", "")), "#CMDOK\r\n" + Frame("#CEPDT", "3FFE", "02", "0208"));
  EXPECT_EQ(Say(radio, "#CMDOK\r\n"), "");
  EXPECT_EQ(Say(radio, Frame("#CEPWR", "0010", "02", "A55A")), "#CMDOK\r\n");
  EXPECT_EQ(radio.memory()[0x10], 0xA5);
  EXPECT_EQ(radio.memory()[0x11], 0x5A);
  EXPECT_EQ(Say(radio, "\x18"), "\x06");
  EXPECT_EQ(radio.writeCount(), 1);
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
