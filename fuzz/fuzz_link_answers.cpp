// Whatever the radio answers to a read request or a status request: the link ends with
// one of its documented outcomes, never a crash or a hang, and a read never touches
// buffer bytes outside the block it asked for.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/link.h"
#include "link/transfers.h"
#include "model/models.h"
#include "sim/memory_pipe.h"
#include "sim/radio_engine.h"

namespace {

using namespace qm47;

struct Silent : UserInterface {
  Answer Show(const MessageBox& box) override { return box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  VirtualClock clock;
  sim::RadioEngine radio;
  radio.SwitchToFastRate();  // as a connect leaves it
  sim::MemoryPipe pipe(radio, clock);
  // The first answer of the radio is the fuzzer's text; later ones are silence.
  const Bytes answer(data + 1, data + size);
  bool answered = false;
  pipe.SetAnswerFilter([&](const Bytes&) {
    if (answered) return Bytes{};
    answered = true;
    return answer;
  });
  Silent ui;
  ErrorLog log("", false);
  Link link(pipe, clock, ui, log, LinkOptions{});
  pipe.Open("57600,N,8,1");

  if (data[0] & 1) {
    MemoryImage image;
    SettingsRecord record;
    const ModelDescriptor model = MakeDescriptor(1, true, true);
    Transfers transfers(link, image, record, model);
    transfers.StatusCheck();
  } else {
    const Address address = (data[0] >> 1) * 64;
    std::vector<std::uint8_t> buffer(kImageSize, 0xA5);
    link.ReadBlock(buffer, address, 64);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
      const bool inside = i >= static_cast<std::size_t>(address) && i < static_cast<std::size_t>(address) + 64;
      if (!inside && buffer[i] != 0xA5) std::abort();
    }
  }
  return 0;
}
