// Which model in use a file or the radio belongs to, for a command run without a model
// named: the one model that fits is taken, several that fit are not guessed between.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/ini_file.h"

namespace qm47 {

// The models in use that `fits` accepts, in catalogue order.
std::vector<int> ModelsThatFit(const std::vector<int>& inUse, const std::function<bool(int)>& fits);

// The models in use whose code the two model code words of an image are.
std::vector<int> ModelsOfCodes(const IniFile& catalogue, int first, int second);

// The models in use a .hex file's model codes or a .dat file's MODELTYPE name; none when
// the file cannot be read (opening it then says why).
std::vector<int> ModelsOfHexFile(const IniFile& catalogue, const std::string& path);
std::vector<int> ModelsOfDatFile(const IniFile& catalogue, const std::string& path);

// Why no model was taken from `what` ("'a.hex'", "The radio") when several fit.
std::string SeveralModelsFit(const std::string& what, const std::vector<int>& models);

}  // namespace qm47
