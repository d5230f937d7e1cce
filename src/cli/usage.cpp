#include "cli/usage.h"

#include <algorithm>
#include <cctype>

namespace qm47::cli {

namespace {

constexpr const char* kOptions = R"(Options (before or after the command; "--" ends the options):
  --data-dir DIR   folder holding global.ini and the destination files
                   (default: QM47_DATA_DIR, else beside the program, else ../share/qm47
                   beside it, else the installed folder)
  --model M        radio model: its number 1..10 as listed in global.ini, or its name
                   (TK520B; any case). Default: the model the file or the radio holds
                   when one model in use fits it, else the one the editor would select
                   at start-up (qm47-cli models lists them)
  --debug          debug mode: trapped file and port faults are appended to err.log
  --baud19200      talk to the radio at 19200 baud instead of 57600
  --yes            answer questions with OK / Retry / Yes (otherwise Cancel / No)
  --help           this text, or a command's own with a command
  --version        the program's version
)";

constexpr const char* kFooter = R"(
Files: .hex is the raw 16384-byte radio image, .dat the settings text file, .txt a report;
the extension decides (any case). DEV is a port name (ttyUSB0, COM3), a full device path,
or a port number 1..4 mapped through the preferences.
Messages the editor would show in a box are printed on stderr, one per line, each followed
by a line that says what failed where the message does not.
Exit status: 0 success, 1 the operation failed or was refused, 2 usage error,
128 + the signal when interrupted (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP).
)";

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

const std::vector<CommandHelp>& CommandHelps() {
  static const std::vector<CommandHelp> helps = {
      {"new", "new [--destination NAME] OUT", "settings of a fresh image of the model, saved to OUT",
       "OUT is .hex or .dat.\n"
       "  --destination NAME  start from the regional default file NAME_XXXX.ini in the data\n"
       "                      folder (XXXX: the model code in hexadecimal), as the editor's\n"
       "                      Destination menu does\n"},
      {"convert", "convert [--accept-changes] IN OUT", "open IN, save OUT",
       "IN and OUT are .hex or .dat. Every value is checked as the pages check what is typed and\n"
       "against what the radio's memory can hold. A value that would not reach OUT as written\n"
       "(characters the radio cannot show, a name too long, a number the pages do not offer) is\n"
       "listed as [SECTION] KEY: value -> what takes its place: reason, and nothing is written.\n"
       "  --accept-changes  write OUT with the listed changes, printed as warnings\n"},
      {"report", "report IN [OUT]", "the text report of IN, on stdout or saved to OUT (.txt)",
       "IN is .hex or .dat; the report's lines end in CR LF.\n"},
      {"dump", "dump IN", "the hex dump text of IN's image, on stdout",
       "For a .dat file, the image a .hex save would write.\n"},
      {"export-csv", "export-csv IN OUT.csv --list NAME", "one channel list or MMSI directory of IN as a CSV file",
       "IN is .hex or .dat. NAME is usa, intl or canada (a channel plan), expansion, weather,\n"
       "individual or group (an MMSI directory). The first row holds the list's .dat key names,\n"
       "then one row per channel or entry. Cells read as the editor's pages show them (an MMSI as\n"
       "its digits, a frequency as 156.050, empty for none); check boxes are 1 or 0. RX MHz is\n"
       "only shown: a row whose RX MHz is not its channel's frequency is refused.\n"},
      {"import-csv", "import-csv IN.csv INTO OUT --list NAME", "merge a CSV list into INTO, saved to OUT",
       "INTO and OUT are .hex or .dat (OUT may be INTO); NAME as for export-csv. Columns may come\n"
       "in any order, but each of the list's columns once. A plan's rows are placed by their\n"
       "Position, the other lists' rows fill the entries from the first; entries without a row\n"
       "keep their values. Every cell is checked as the pages check what is typed; one refused\n"
       "cell (named by row and column, the header being row 1) refuses the whole file and\n"
       "nothing is written.\n"},
      {"read", "read --port DEV OUT", "read the radio's settings into OUT",
       "OUT is .hex or .dat. Put the radio into its programming mode first. OUT is checked\n"
       "before the transfer, so what the radio sends is not lost to a bad name. Without\n"
       "--model the read takes the model the radio holds.\n"
       "Every read is also kept as MODEL[-MMSI]-YYYYMMDD-HHMMSS.hex in the backups folder,\n"
       "$XDG_DATA_HOME/QM47/backups (else ~/.local/share/QM47/backups). The newest 50 are\n"
       "kept (preferences Backups/Keep), and always the newest of each radio.\n"},
      {"program",
       "program [--changed-only] [--verify=written] [--no-backup] [--no-verify] [--accept-changes] --port DEV IN",
       "program the settings of IN into the radio",
       "IN is .hex or .dat of the radio's model. First the radio is read and what it holds\n"
       "kept in the backups folder (see 'help read'), and the settings that will change are\n"
       "listed as [SECTION] KEY: radio -> IN. After writing, the written areas are read back;\n"
       "settings the radio did not keep are listed and the exit status is 1.\n"
       "  --changed-only    write only the bytes and blocks that differ from what the read\n"
       "                    found (\"The radio already holds these settings.\" when none do)\n"
       "  --verify=written  read back only the blocks written, not every settings block\n"
       "                    (--verify and --verify=whole read back every one)\n"
       "  --no-backup       write at once: no backup and no list of changes\n"
       "  --no-verify       do not read the written areas back (--verify, the default, does)\n"
       "  --accept-changes  program a file whose values are not all usable as they stand,\n"
       "                    with the changes listed as for convert (without it nothing is sent)\n"},
      {"verify", "verify --port DEV IN", "compare the radio's settings with IN without writing",
       "IN is .hex or .dat. Lists each setting that differs as [SECTION] KEY: IN -> radio;\n"
       "exit status 0 when the radio holds IN's settings, 1 when it does not.\n"},
      {"clear", "clear mmsi|dsc-log|distress-log --port DEV", "clear the radio's MMSI count, DSC log or distress log",
       "Without --model the model is the one the radio holds.\n"},
      {"ports", "ports", "list the serial ports (name, device, description, USB ids)",
       "Also shows which device each port number 1..4 stands for.\n"},
      {"diff", "diff A B", "the settings that differ between A and B, on stdout",
       "A and B are .hex or .dat (any mix) of one model; B is read as A's model. One line\n"
       "per .dat key: \"[SECTION] KEY: value in A -> value in B\" (\"\" for an empty value).\n"
       "Exit status 0 when they hold the same settings, 1 when they differ; a file that\n"
       "cannot be opened also gives 1, with its message on stderr and nothing on stdout.\n"},
      {"models", "models", "list the models in use (number, name, code, ATIS, scrambler)",
       "Also says which model a command takes when --model is not given.\n"},
      {"help", "help [COMMAND]", "this text, or the help of COMMAND", ""},
  };
  return helps;
}

std::optional<CommandHelp> FindCommandHelp(const std::string& name) {
  for (const auto& h : CommandHelps()) {
    if (name == h.name) return h;
  }
  return std::nullopt;
}

std::string GeneralHelp() {
  std::string text =
      "Usage: qm47-cli [OPTIONS] COMMAND ...\n\n"
      "Reads, edits and writes the settings of QM47 marine VHF radios without a window.\n\n";
  text += kOptions;
  text += "\nCommands (qm47-cli help COMMAND for more):\n";
  for (const auto& h : CommandHelps()) {
    std::string line = std::string("  ") + h.synopsis;
    line += line.size() < 35 ? std::string(35 - line.size(), ' ') : "\n" + std::string(35, ' ');
    text += line + h.summary + "\n";
  }
  return text + kFooter;
}

std::string CommandHelpText(const CommandHelp& help) {
  std::string summary = help.summary;
  summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
  return std::string("Usage: qm47-cli [OPTIONS] ") + help.synopsis + "\n\n" + summary + ".\n" + help.details +
         "\n" + kOptions + kFooter;
}

std::string VersionText(const std::string& program) { return program + " " + QM47_VERSION + "\n"; }

std::optional<std::string> SuggestCommand(const std::string& word) {
  std::optional<std::string> best;
  std::size_t bestDistance = 3;
  for (const auto& h : CommandHelps()) {
    const std::size_t d = EditDistance(word, h.name);
    if (d < bestDistance) {
      bestDistance = d;
      best = h.name;
    }
  }
  return best;
}

}  // namespace qm47::cli
