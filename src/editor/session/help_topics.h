// The help topics and the context numbers controls carry, and the page of the help that
// explains each: the pages name their controls' numbers here, F1 finds them here.
#pragma once

#include <string>

namespace qm47 {

inline constexpr int kContentsHelpTopic = 1001;

namespace help_context {
// Channel and weather pages.
inline constexpr int Enable = 1028;
inline constexpr int TxEnable = 1029;
inline constexpr int Duplex = 1030;
inline constexpr int LowPower = 1031;
inline constexpr int PowerUp = 1032;
inline constexpr int Scan = 1033;
inline constexpr int Name = 1034;
inline constexpr int Scrambler = 1064;
// Directory entry page: "Add"/"Delete", then the name, then the MMSI.
inline constexpr int IndividualEntry = 1049;
inline constexpr int GroupEntry = 1069;
}  // namespace help_context

// The page of a help topic in the data folder ("<data>/help/1012.html").
std::string HelpFilePath(const std::string& dataFolder, int topic);

// Where a topic or a control's help context number is explained: the channel and
// directory controls share a page each, one section per number ("c1028").
struct HelpLocation {
  std::string file;
  std::string anchor;  // empty: the top of the page
};
HelpLocation HelpFor(const std::string& dataFolder, int topic);

}  // namespace qm47
