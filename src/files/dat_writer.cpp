#include "files/dat_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/atomic_file.h"

namespace qm47 {

namespace {

constexpr const char* kGroupKeys[kGroupCount] = {"USA", "INTL", "Canada", "EXP CH"};
constexpr const char* kDisplayKeys[3] = {"Individual ACK Menu", "Individual ACK Message Menu",
                                         "POS Request ACK Menu"};

class DatText {
 public:
  void Section(const std::string& name) { Line("[" + name + "]"); }
  void Flag(const std::string& key, bool value) { Line(key + "=" + (value ? "1" : "0")); }
  void Number(const std::string& key, long long value) { Line(key + "=" + std::to_string(value)); }
  void Text(const std::string& key, const std::string& value) { Line(key + "=" + value); }
  // The "#" keeps leading spaces of the text when it is read back.
  void Marked(const std::string& key, const std::string& value) { Line(key + "=#" + value); }
  void Frequency(const std::string& key, double mhz) { Line(key + "=" + DatFrequencyText(mhz)); }

  std::string Take() { return std::move(text_); }

 private:
  void Line(const std::string& line) {
    text_ += line;
    text_ += "\r\n";
  }
  std::string text_;
};

std::string Indexed(const std::string& stem, int i) { return stem + std::to_string(i); }
std::string Spaced(const std::string& stem, int i) { return stem + " " + std::to_string(i); }

void WriteRegion(DatText& out, const std::vector<Channel>& table, const std::string& prefix, bool scrambler) {
  for (std::size_t n = 0; n < table.size(); ++n) {
    const Channel& ch = table[n];
    out.Section(prefix + std::to_string(n));
    out.Number("Position", ch.Position);
    out.Flag("Enable", ch.Enable);
    out.Flag("LowPower", ch.LowPower);
    out.Flag("PowUp", ch.PowUp);
    out.Flag("Duplex", ch.Duplex);
    out.Flag("TxEnable", ch.TxEnable);
    out.Flag("DispayA", ch.DispayA);
    out.Flag("ScanMemory", ch.ScanMemory);
    if (scrambler) out.Number("Scramble", ch.Scramble);
    out.Marked("ChTag", ch.ChTag);
  }
}

void WriteDirectory(DatText& out, const std::vector<DirectoryEntry>& dir, const std::string& prefix) {
  for (std::size_t k = 0; k < dir.size(); ++k) {
    const DirectoryEntry& e = dir[k];
    out.Section(prefix + std::to_string(k + 1));
    out.Flag("Enable", e.InUse);
    out.Marked("TagName", e.TagName);
    out.Text("Mmsid", e.Mmsid);
  }
}

}  // namespace

std::string DatFrequencyText(double mhz) {
  if (!std::isfinite(mhz) || mhz == 0) return "0";
  // 15 significant digits, correctly rounded: d.dddddddddddddde±x.
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(mhz));
  const std::string s(buf);
  const std::size_t e = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  const int exponent = std::atoi(s.c_str() + e + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const long long before = exponent + 1;  // digits in front of the point
  const auto count = static_cast<long long>(digits.size());
  std::string out;
  if (before <= 0) {
    out = "0." + std::string(static_cast<std::size_t>(-before), '0') + digits;
  } else if (before >= count) {
    out = digits + std::string(static_cast<std::size_t>(before - count), '0');
  } else {
    const auto at = static_cast<std::size_t>(before);
    out = digits.substr(0, at) + "." + digits.substr(at);
  }
  return mhz < 0 ? "-" + out : out;
}

std::string DatFileText(const SettingsRecord& rec, const ModelDescriptor& model) {
  DatText out;

  out.Section("MAIN");
  out.Marked("MODEL", model.name);
  out.Marked("TYPE", "KVX");
  out.Marked("VERSION", "1.00");
  out.Number("MODELTYPE", model.number);

  out.Section("Usable CH Group Setup");
  for (int i = 0; i < kGroupCount; ++i) out.Flag(kGroupKeys[i], rec.UsableGroup[static_cast<std::size_t>(i)].Usable);
  for (int i = 0; i < kGroupCount; ++i) out.Flag(Spaced("TX TOT", i), rec.UsableGroup[static_cast<std::size_t>(i)].TxTot);
  for (int i = 0; i < kGroupCount; ++i) {
    out.Number(Spaced("Priority CH", i), rec.UsableGroup[static_cast<std::size_t>(i)].PriorityCh);
  }
  for (int i = 0; i < kGroupCount; ++i) {
    out.Flag(Spaced("Status Icon", i), rec.UsableGroup[static_cast<std::size_t>(i)].StatusIcon);
  }
  for (int i = 0; i < kGroupCount; ++i) {
    out.Text(Spaced("Status name", i), rec.UsableGroup[static_cast<std::size_t>(i)].StatusName);
  }

  const CommonSetupGroup& c = rec.CommonSetup;
  out.Section("Common Setup");
  out.Number("TX Po Display", c.TxPoDisplay);
  out.Flag("SCAN", c.Scan);
  out.Number("Resume Time", c.ResumeTime);
  out.Flag("PTT SCAN Clear", c.PttScanClear);
  out.Flag("Dual Watch", c.DualWatch);
  out.Number("Offset Time", c.OffsetTime);
  out.Number("Magnetic Variation", c.MagneticVariation);
  out.Number("Weater", c.Weater);
  out.Flag("Rotary", c.Rotary);

  const DscBasicGroup& b = rec.DscBasic;
  out.Section("DSC Setup (Basic Setup)");
  for (int i = 0; i < kRegionCount; ++i) out.Flag(kGroupKeys[i], b.DscGroup[static_cast<std::size_t>(i)]);
  out.Marked("User MMSI", b.UserMmsi);
  for (int i = 0; i < 4; ++i) {
    out.Flag(Indexed("PosRequest", i), b.PosRequest[static_cast<std::size_t>(i)]);
    out.Flag(Indexed("PosRequestTX", i), b.PosRequestTX[static_cast<std::size_t>(i)]);
  }
  for (int i = 0; i < 8; ++i) out.Flag(Indexed("BeepOut", i), b.BeepOut[static_cast<std::size_t>(i)]);

  const DscAdvancedGroup& a = rec.DscAdvanced;
  out.Section("DSC Setup (Advanced Setup)");
  const struct {
    const char* stem;
    const std::array<bool, 4>& call;
    const std::array<bool, 4>& tx;
  } calls[] = {{"All Ships Call", a.AllShipsCall, a.AllShipsCallTX},
               {"Group Call", a.GroupCall, a.GroupCallTX},
               {"Individual Call", a.IndividualCall, a.IndividualCallTX}};
  for (const auto& call : calls) {
    for (int i = 0; i < 4; ++i) {
      out.Flag(Indexed(call.stem, i), call.call[static_cast<std::size_t>(i)]);
      out.Flag(Indexed(std::string(call.stem) + "TX", i), call.tx[static_cast<std::size_t>(i)]);
    }
  }
  out.Flag("Distress Relay", a.DistressRelay);

  out.Section("DSC Setup (Display Setup)");
  for (int i = 0; i < 3; ++i) out.Flag(kDisplayKeys[i], rec.DscDisplay[static_cast<std::size_t>(i)]);

  if (model.atis) {
    const AtisCommonGroup& t = rec.AtisCommon;
    out.Section("ATIS Setup (Common)");
    for (int i = 0; i < 4; ++i) out.Flag(Indexed("Usable ATIS CH Group", i), t.AtisGroup[static_cast<std::size_t>(i)]);
    out.Marked("Atis Code", t.AtisCode);
    for (int i = 0; i < 4; ++i) {
      out.Flag(Indexed("Usable ATIS Kikker CH Group", i), t.KikkerGroup[static_cast<std::size_t>(i)]);
    }
    out.Section("ATIS Setup (Call Sign)");
    for (int i = 1; i <= kCallSigns; ++i) {
      const AtisCallSignEntry& cs = rec.AtisCallSign[static_cast<std::size_t>(i - 1)];
      out.Text(Indexed("MID", i), cs.MID);
      out.Text(Indexed("DISP", i), cs.DISP);
    }
  }

  WriteRegion(out, rec.CHUSA, "CHUSA", model.scrambler);
  WriteRegion(out, rec.CHINT, "CHINT", model.scrambler);
  WriteRegion(out, rec.CHCAN, "CHCAN", model.scrambler);

  for (std::size_t i = 0; i < rec.CHWX.size(); ++i) {
    const Channel& ch = rec.CHWX[i];
    out.Section("CHWX" + std::to_string(i));
    out.Flag("Enable", ch.Enable);
    out.Flag("ScanMemory", ch.ScanMemory);
    out.Marked("ChTag", ch.ChTag);
  }

  WriteDirectory(out, rec.CHMMSID, "CHMMSID");
  WriteDirectory(out, rec.CHGRPID, "CHGRPID");

  for (std::size_t k = 0; k < rec.CHEXP.size(); ++k) {
    const Channel& ch = rec.CHEXP[k];
    out.Section("CHEXP" + std::to_string(k + 1));
    out.Flag("Enable", ch.Enable);
    out.Text("CHDisplayL", ch.CHDisplayL);
    out.Text("CHDisplayR", ch.CHDisplayR);
    out.Frequency("Rxfreq", ch.Rxfreq);
    out.Frequency("Txfreq", ch.Txfreq);
    out.Flag("LowPower", ch.LowPower);
    out.Flag("PowUp", ch.PowUp);
    out.Flag("ScanMemory", ch.ScanMemory);
    if (model.scrambler) out.Number("Scramble", ch.Scramble);
    out.Marked("ChTag", ch.ChTag);
  }

  return out.Take();
}

std::optional<IoError> WriteDatFile(const std::string& path, const SettingsRecord& rec,
                                    const ModelDescriptor& model) {
  return WriteFileAtomic(path, DatFileText(rec, model));
}

}  // namespace qm47
