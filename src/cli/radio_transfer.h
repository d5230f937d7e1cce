// What the radio commands share: the --port argument and one run of the transfer dialog.
#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/interrupts.h"
#include "editor/transfer.h"

namespace qm47::cli {

struct PortArgs {
  std::string port;
  std::set<std::string> flags;
  std::vector<std::string> rest;
};

// Splits off --port DEV and the `flagOptions` given; false after a usage error (already
// printed, `rc` set).
bool ParsePortArgs(const std::string& command, const std::vector<std::string>& args, PortArgs& out, int& rc,
                   const std::vector<std::string>& flagOptions = {});

// One press of OK in the transfer dialog for `job`; kSuccess when the transfer said
// "Complete!!", 128 + the signal number when a signal cancelled it. `outcome`, when given,
// receives what the transfer left. `takeRadioModel`: the model check may switch to the
// model the radio holds.
// `rc` of a radio command, unless a signal came while it finished anyway: then 128 + the
// signal, after a line saying the command had completed. A signal never ends in 0.
int AfterInterrupt(Context& ctx, const std::string& command, int rc);

int RunTransfer(Context& ctx, const std::string& command, const TransferJob& job, const std::string& port,
                TransferOutcome* outcome = nullptr, bool takeRadioModel = false);

}  // namespace qm47::cli
