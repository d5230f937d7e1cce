// The per-user preference store (application "QM47"): section, key, text.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace qm47 {

class PreferenceStore {
 public:
  virtual ~PreferenceStore() = default;
  virtual std::string Get(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const = 0;
  virtual void Save(const std::string& section, const std::string& key, const std::string& value) = 0;
};

class MemoryPreferenceStore final : public PreferenceStore {
 public:
  std::string Get(const std::string& section, const std::string& key,
                  const std::string& defaultValue) const override;
  void Save(const std::string& section, const std::string& key, const std::string& value) override;

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

// Leading-number parse as the stored texts are read: "1", " 3x" -> 3; nothing numeric -> fallback.
int PreferenceInt(const std::string& text, int fallback);
// "1"/"0", "True"/"False" (any case), or a number, non-zero meaning true.
bool PreferenceFlag(const std::string& text, bool fallback);

// How many radio backups to keep (Backups/Keep); 50 when unset or not a count of at least 1.
inline constexpr int kDefaultBackupsKept = 50;
int BackupsToKeep(const PreferenceStore& prefs);

}  // namespace qm47
