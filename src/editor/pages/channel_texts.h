// The texts of one channel that the list grid and the channel page share: its number,
// the radio's two-character display, its frequencies and the scrambler choice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/settings_record.h"

namespace qm47 {

// Channel number text of a plan entry's table row ("16", "22A"); empty when the row is unknown.
std::string PlanChannelLabel(const Channel& ch);
// Table row whose channel number text is exactly `label`; -1 when none.
int TableRowOfLabel(std::string_view label);

// The radio's display: two characters, and the suffix letter in a second box.
struct ChannelDisplay {
  std::string number;  // "05", "o5" (105), "'2" (112)
  std::string suffix;  // "A" or empty

  bool operator==(const ChannelDisplay&) const = default;
};
ChannelDisplay PlanChannelDisplay(std::string_view label);

// A plan entry's frequencies as the grid and the page show them: receive on the duplex
// frequency while Duplex is set, no transmit frequency on a receive-only entry.
std::string PlanRxText(const Channel& ch);
std::string PlanTxText(const Channel& ch);

// Snaps both stored expansion frequencies to what their texts show (see ExpFrequencyText).
void SnapExpansionFrequencies(Channel& ch);
// The same shown without touching the record.
std::string ExpansionFrequencyText(double mhz);

// "Off", then the codes "0" to "3".
const std::vector<std::string>& ScramblerItems();
// List index of a stored Scramble: 0 while bit 2 is clear, else code + 1.
int ScramblerIndex(int scramble);
// The Scramble a list index stores: 0 clears bit 2 only; k > 0 is bit 2 and code k - 1.
int ScrambleOfIndex(int scramble, int index);

}  // namespace qm47
