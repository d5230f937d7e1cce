// The new-image set-up and regional default images ("destinations").
#pragma once

#include <string>
#include <vector>

#include "editor/session/session.h"

namespace qm47 {

// "_" and the model code as four upper-case hex digits ("_1004"); "_" alone without a code.
std::string DestinationSuffix(const ModelDescriptor& model);

// Upper-cased destination names of the model found in the data folder, sorted, at most 10.
std::vector<std::string> ScanDestinationNames(const std::string& dataFolder, const ModelDescriptor& model);

// The destination file of `name` in the data folder, whatever the case it is stored in.
std::string DestinationPath(const Session& s, const std::string& name);

// Loads a regional default image: exact length and model check, then decode.
bool LoadDestinationFile(Session& s, const std::string& path);

// Resets record and image to the model's defaults; with a destination name, loads that
// destination over them (silently: false when it could not be loaded).
bool NewImageSetup(Session& s, const std::string& destination = {});

}  // namespace qm47
