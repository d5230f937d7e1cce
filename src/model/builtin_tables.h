// Fixed data the program carries: channel lists, channel plans, tone lists.
#pragma once

#include <string>
#include <vector>

#include "model/settings_record.h"

namespace qm47 {

struct BuiltinChannel {
  bool include = false;
  std::string label;
  double tx = 0;
  double rx = 0;
  double duplexRx = 0;
  bool duplex = false;
  bool lowPower = false;
  std::string name;
};

std::vector<BuiltinChannel> BuildBuiltinChannels();  // 240 positions
std::vector<BuiltinChannel> BuildBuiltinWeather();   // WX01..WX10
// Built once, never changed.
const std::vector<BuiltinChannel>& BuiltinChannels();
const std::vector<BuiltinChannel>& BuiltinWeather();

struct ChannelPlanRow {
  std::string label;  // "16", "22A"
  std::string name;
  bool duplex = false;
  bool lowPower = false;
  bool rxOnly = false;
};
using ChannelPlan = std::vector<ChannelPlanRow>;

const ChannelPlan& UsaPlan();
const ChannelPlan& IntlPlan();
const ChannelPlan& CanadaPlan();
const ChannelPlan& PlanOfRegion(int group);
// Rows written as "16 DISTRESS; 70 DSC R; 20 PORT OPR D L": label, name, then flags.
ChannelPlan ParseChannelPlan(const std::string& text);

// Position of a channel label ("16" -> 32, "22A" -> 45), -1 when not a label.
int PositionOfLabel(const std::string& label);

void ApplyChannelPlan(std::vector<Channel>& table, const ChannelPlan& plan);
void BuildTableFromList(std::vector<Channel>& table, const std::vector<BuiltinChannel>& list);

void FillCtcssList(std::vector<std::string>& list);  // 51 texts, "Off" first
void FillDcsList(std::vector<std::string>& list);    // 105 texts, "Off" first

}  // namespace qm47
