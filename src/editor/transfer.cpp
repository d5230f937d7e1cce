#include "editor/transfer.h"

namespace qm47 {

std::string SerialPortText(int number, const std::string& device) {
  return "COM" + std::to_string(number) + " (" + device + ")";
}

RadioTransfer::RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode)
    : RadioTransfer(s, line, clock, mode, s.ui) {}

RadioTransfer::RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode, UserInterface& ui)
    : link_(line, clock, ui, s.errorLog, LinkFlags{s.flags.cancel, s.flags.error},
            LinkOptions{s.startup.debugMode, s.startup.baud19200, 3}),
      transfers_(link_, s.image, s.record, s.model, s.flags.pageLoading, transferSuccess_),
      dialog_(mode, link_, transfers_, s.flags.pageLoading) {}

}  // namespace qm47
