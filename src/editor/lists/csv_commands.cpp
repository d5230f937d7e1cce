#include "editor/lists/csv_commands.h"

#include <cctype>
#include <filesystem>

#include "editor/session/fault_detail.h"
#include "editor/documents/image_file.h"
#include "files/atomic_file.h"

namespace qm47 {

namespace {

// Enough to mend a file by; the rest are counted.
constexpr std::size_t kRefusalsShown = 30;

std::string StartFolder(const Session& s) {
  if (s.currentFileName.empty()) return "";
  return std::filesystem::path(s.currentFileName).parent_path().string();
}

std::string Capitalised(std::string_view text) {
  std::string out(text);
  if (!out.empty()) out[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[0])));
  return out;
}

// The list of the page shown, else the one the user picks.
std::optional<CsvList> ListFor(Session& s, const PageRef& shown, const std::string& title) {
  if (const auto list = CsvListOfPage(shown)) return list;
  const std::optional<int> picked = s.ui.ChooseItem(CsvListChoice(title));
  if (!picked || *picked < 0 || static_cast<std::size_t>(*picked) >= kCsvLists.size()) return std::nullopt;
  return kCsvLists[static_cast<std::size_t>(*picked)].list;
}

// What the status bar and the undo entry call a list, and what its rows are.
struct ListWords {
  std::string_view name;
  std::string_view row;
  std::string_view rows;
};

ListWords WordsFor(CsvList list) {
  switch (list) {
    case CsvList::Usa: return {"USA list", "channel", "channels"};
    case CsvList::Intl: return {"INTL list", "channel", "channels"};
    case CsvList::Canada: return {"CANADA list", "channel", "channels"};
    case CsvList::Expansion: return {"EXP Channel list", "channel", "channels"};
    case CsvList::Weather: return {"Weather list", "channel", "channels"};
    case CsvList::Individual: return {"Individual Directory", "entry", "entries"};
    case CsvList::Group: return {"Group Directory", "entry", "entries"};
  }
  return {"list", "row", "rows"};
}

template <class T>
std::size_t Differing(const std::vector<T>& a, const std::vector<T>& b) {
  std::size_t n = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] == b[i] ? 0 : 1;
  return n;
}

// The channels or entries of the list that differ between the two records.
std::size_t ChangedRows(const SettingsRecord& before, const SettingsRecord& after, CsvList list) {
  switch (list) {
    case CsvList::Usa: return Differing(before.CHUSA, after.CHUSA);
    case CsvList::Intl: return Differing(before.CHINT, after.CHINT);
    case CsvList::Canada: return Differing(before.CHCAN, after.CHCAN);
    case CsvList::Expansion: return Differing(before.CHEXP, after.CHEXP);
    case CsvList::Weather: return Differing(before.CHWX, after.CHWX);
    case CsvList::Individual: return Differing(before.CHMMSID, after.CHMMSID);
    case CsvList::Group: return Differing(before.CHGRPID, after.CHGRPID);
  }
  return 0;
}

// What an import changed, for the status bar: "USA list: 12 channels changed".
std::string ImportSummary(CsvList list, std::size_t changed) {
  const ListWords words = WordsFor(list);
  const std::string what = changed == 0   ? "nothing changed"
                           : changed == 1 ? "1 " + std::string(words.row) + " changed"
                                          : std::to_string(changed) + " " + std::string(words.rows) + " changed";
  return std::string(words.name) + ": " + what;
}

std::optional<std::string> ChooseCsv(Session& s, FileChoice::Mode mode, const std::string& title, CsvList list) {
  const std::string suggested = std::string(NameOf(list).name) + ".csv";
  const bool open = mode == FileChoice::Mode::Open;
  auto path = s.ui.ChooseFile({mode, title, kCsvFilter, StartFolder(s), open ? "" : suggested, open});
  if (path && path->empty()) path.reset();
  return path;
}

}  // namespace

ItemChoice CsvListChoice(const std::string& title) {
  ItemChoice choice{title, "Which list?", {}, 0};
  for (const CsvListName& l : kCsvLists) choice.items.push_back(Capitalised(l.title));
  return choice;
}

std::optional<CsvList> CsvListOfPage(const PageRef& page) {
  switch (page.kind) {
    case PageKind::ChannelList:
    case PageKind::Channel:
      switch (page.group) {
        case kUSA: return CsvList::Usa;
        case kINTL: return CsvList::Intl;
        case kCanada: return CsvList::Canada;
        case kEXP: return CsvList::Expansion;
        default: return std::nullopt;
      }
    case PageKind::Weather: return CsvList::Weather;
    case PageKind::DirectoryList:
    case PageKind::DirectoryEntry:
      return page.directory == Directory::Individual ? CsvList::Individual : CsvList::Group;
    default: return std::nullopt;
  }
}

bool ExportListFile(Session& s, CsvList list, const std::string& path) {
  const std::optional<IoError> error = WriteFileAtomic(path, ListCsvText(s.record, s.model, list));
  if (!error) return true;
  s.errorLog.WriteErrorLog("frmMain.ExportListCsv", *error);
  s.SayWhy(kFileSaveErrorMessage, SaveFaultDetail(path, *error), Icon::Exclamation);
  return false;
}

CsvImportOutcome ImportListFile(Session& s, CsvList list, const std::string& path) {
  const FileBytes file = ReadWholeFile(path, kMaxCsvFileBytes);
  if (file.error) {
    s.errorLog.WriteErrorLog("frmMain.ImportListCsv", *file.error);
    s.SayWhy(kFileReadErrorMessage, ReadFaultDetail(path, *file.error), Icon::Exclamation);
    return CsvImportOutcome::Refused;
  }
  const std::string_view text(reinterpret_cast<const char*>(file.data.data()), file.data.size());
  const CsvImport import = ImportListCsv(s.record, s.model, list, text);
  if (!import.accepted()) {
    s.SayWhy(kCsvRefusedMessage,
             RefusalLines(import, kRefusalsShown) + "\nNothing was changed: correct these cells of " +
                 std::filesystem::path(path).filename().string() + " and import it again.",
             Icon::Exclamation);
    return CsvImportOutcome::Refused;
  }
  if (import.record == s.record) return CsvImportOutcome::Unchanged;
  // The step is named after the import, not after the page it was made from.
  const std::string place = s.history.Place();
  s.history.SetPlace("Import " + std::string(WordsFor(list).name));
  const bool edited = s.Edit(CsvListArea(list), [&](SettingsRecord& rec) { TakeList(rec, import.record, list); });
  s.history.SetPlace(place);
  return edited ? CsvImportOutcome::Changed : CsvImportOutcome::Unchanged;
}

void ExportListCommand(Session& s, const PageRef& shown, const std::function<bool()>& validate) {
  const std::string title = "Export List as CSV";
  if (!validate()) return;
  const auto list = ListFor(s, shown, title);
  if (!list) return;
  if (const auto path = ChooseCsv(s, FileChoice::Mode::Save, title, *list)) ExportListFile(s, *list, *path);
}

std::optional<std::string> ImportListCommand(Session& s, const PageRef& shown, const std::function<bool()>& validate) {
  const std::string title = "Import List from CSV";
  if (!validate()) return std::nullopt;
  const auto list = ListFor(s, shown, title);
  if (!list) return std::nullopt;
  const auto path = ChooseCsv(s, FileChoice::Mode::Open, title, *list);
  if (!path) return std::nullopt;
  const SettingsRecord before = s.record;
  if (ImportListFile(s, *list, *path) == CsvImportOutcome::Refused) return std::nullopt;
  return ImportSummary(*list, ChangedRows(before, s.record, *list));
}

}  // namespace qm47
