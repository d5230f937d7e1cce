// What the radio commands share: the --port argument and one run of the transfer dialog.
#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/interrupts.h"
#include "editor/radio/transfer.h"

namespace qm47::cli {

// The usage error of a radio command given no --port.
int PortMissing(const std::string& command);

// `rc` of a radio command, unless a signal came while it finished anyway: then 128 + the
// signal, after a line saying the command had completed. A signal never ends in 0.
int AfterInterrupt(Context& ctx, const std::string& command, int rc);

// What a command asks of one run of the transfer besides the job.
struct TransferRun {
  TransferOutcome* outcome = nullptr;  // receives what the transfer left
  bool takeRadioModel = false;         // the model check may switch to the model the radio holds
  // The settings file the radio is programmed with or compared to: a radio of another model
  // is told apart from the file rather than sent to another --model, which the file refuses.
  std::string file;
  bool saysComplete = true;  // false: a step of a longer command, which says so itself
};

// One press of OK in the transfer dialog for `job`; kSuccess when the transfer said
// "Complete!!", 128 + the signal number when a signal cancelled it.
int RunTransfer(Context& ctx, const std::string& command, const TransferJob& job, const std::string& port,
                const TransferRun& run = {});

}  // namespace qm47::cli
