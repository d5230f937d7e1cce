#include "editor/session/model_detection.h"

#include "editor/session/startup.h"
#include "files/dat_reader.h"
#include "files/hex_file.h"
#include "model/models.h"

namespace qm47 {

std::vector<int> ModelsThatFit(const std::vector<int>& inUse, const std::function<bool(int)>& fits) {
  std::vector<int> models;
  for (const int m : inUse) {
    if (fits(m)) models.push_back(m);
  }
  return models;
}

std::vector<int> ModelsOfCodes(const IniFile& catalogue, int first, int second) {
  return ModelsThatFit(ModelsInUse(catalogue), [&](int m) { return ModelCodeMatches(m, first, second); });
}

std::vector<int> ModelsOfHexFile(const IniFile& catalogue, const std::string& path) {
  // The length first: a pipe or a device named .hex is not read here.
  if (!HasImageLength(path)) return {};
  const HexReadResult file = ReadHexFile(path);
  if (file.error) return {};
  const auto [first, second] = ModelCodeAddresses();
  return ModelsOfCodes(catalogue, file.image.GetWordBE(first), file.image.GetWordBE(second));
}

std::vector<int> ModelsOfDatFile(const IniFile& catalogue, const std::string& path) {
  const DatReadResult file = ReadDatFile(path);
  if (!file.table) return {};
  return ModelsThatFit(ModelsInUse(catalogue), [&](int m) { return DatModelMatches(*file.table, m); });
}

std::string SeveralModelsFit(const std::string& what, const std::vector<int>& models) {
  std::string list;
  for (std::size_t i = 0; i < models.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == models.size() ? " and " : ", ") + ModelLabel(models[i]);
  }
  return what + " fits " + list + " alike; name the one to use with --model.";
}

}  // namespace qm47
