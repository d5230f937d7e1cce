#include "editor/session/help_topics.h"

#include "files/data_folder.h"

namespace qm47 {

namespace {

bool OnChannelPage(int c) {
  using namespace help_context;
  return (c >= Enable && c <= Name) || c == Scrambler;
}

// Each directory's three numbers: its entry's boxes, name and MMSI.
bool OnDirectoryPage(int c) {
  using namespace help_context;
  return (c >= IndividualEntry && c <= IndividualEntry + 2) || (c >= GroupEntry && c <= GroupEntry + 2);
}

}  // namespace

std::string HelpFilePath(const std::string& dataFolder, int topic) {
  return JoinPath(JoinPath(dataFolder, "help"), std::to_string(topic) + ".html");
}

HelpLocation HelpFor(const std::string& dataFolder, int topic) {
  const auto on = [&](const char* page) {
    return HelpLocation{JoinPath(JoinPath(dataFolder, "help"), page), "c" + std::to_string(topic)};
  };
  if (OnChannelPage(topic)) return on("channel.html");
  if (OnDirectoryPage(topic)) return on("directory.html");
  return {HelpFilePath(dataFolder, topic), ""};
}

}  // namespace qm47
