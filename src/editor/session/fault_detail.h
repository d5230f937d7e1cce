// The line under a documented message that says what failed, where, and what to do.
#pragma once

#include <string>
#include <vector>

#include "editor/session/session.h"
#include "files/dat_reader.h"
#include "files/ini_file.h"
#include "files/io_error.h"
#include "model/models.h"
#include "seams/user_interface.h"

namespace qm47 {

std::string ReadFaultDetail(const std::string& path, const IoError& error);
std::string SaveFaultDetail(const std::string& path, const IoError& error);

// Why settings are not saved under `path` ("FileSave Error!!"): a .hex name is a radio image's.
std::string SettingsNameDetail(const std::string& path);

// Why a file is not a 16384-byte image ("bad file!!"): missing, not a file, or its length.
std::string ImageLengthDetail(const std::string& path);

// Which model an image's two code words name, and how to open it as that model.
std::string ImageModelDetail(const std::string& what, int first, int second, const ModelDescriptor& current,
                             const IniFile& catalogue, const UserInterface& ui);

// Why a settings file fails the model check ("different model!!").
std::string DatModelDetail(const std::string& path, const DatReadResult& file, const ModelDescriptor& current,
                           const IniFile& catalogue, const UserInterface& ui);

// Why the destination `name` could not be loaded ("IniFileRead Error!!"): which file was
// looked for, and which destinations the model has.
std::string DestinationFaultDetail(const Session& s, const std::string& name);

// Why no model can be used ("Unknown model!!"): the catalogue was not found where the
// program looked, or the model asked for (0: none) is not among those in use.
std::string UnknownModelDetail(const std::vector<std::string>& searchedFolders, bool catalogueFound,
                               const std::string& cataloguePath, int requested, const std::vector<int>& inUse);

}  // namespace qm47
