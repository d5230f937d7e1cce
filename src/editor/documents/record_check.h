// The one check of a settings record, for every door a record comes in by (a .dat or
// .hex file, a CSV list, the pages): what the pages would refuse and what the radio's
// memory cannot hold as written, each value named by its .dat section and key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

// One value that would not reach a radio or a file as it stands.
struct ValueProblem {
  std::string section, key;  // as in the .dat file
  std::string field;         // as the page names it
  std::string value;         // as it stood
  std::string kept;          // what takes its place
  std::string reason;        // the rule it breaks
};

struct RecordCheck {
  std::vector<ValueProblem> problems;
  // The record with every problem mended: a value the pages refuse replaced by the fresh
  // setting of the model, a value the memory cannot hold by what it would hold.
  SettingsRecord mended;
};

RecordCheck CheckRecord(const SettingsRecord& rec, const ModelDescriptor& model);

// What opening a file changed on its way into the record, for the user to be told.
struct OpenReport {
  std::vector<ValueProblem> problems;
  std::string incomplete;  // what the file lacked, when it was not whole
  bool empty() const { return problems.empty() && incomplete.empty(); }
};

inline constexpr const char* kFileChangedMessage = "Some settings of the file could not be used as they stand.";

// The note on what the file lacked, then a line per problem; at most `maxLines` problem
// lines, then how many more.
std::string OpenReportText(const OpenReport& report, std::size_t maxLines = SIZE_MAX);

// One line per problem: "[Common Setup] Resume Time (Resume Time): 99 -> 0: the page offers ...".
std::string ValueProblemsText(const std::vector<ValueProblem>& problems);

}  // namespace qm47
