#include "files/csv.h"

namespace qm47 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Spreadsheets trim unquoted spaces at the ends of a cell; quoting keeps them.
bool NeedsQuotes(std::string_view cell) {
  if (cell.find_first_of(",\"\r\n") != std::string_view::npos) return true;
  return !cell.empty() && (cell.front() == ' ' || cell.back() == ' ');
}

bool EndsCell(char c) { return c == ',' || c == '\r' || c == '\n'; }

// A spreadsheet runs a cell that starts with one of these as a formula. Quotes the cell
// begins with are looked past, so that a text which really starts with one comes back too.
bool StartsFormula(std::string_view cell) {
  const std::size_t first = cell.find_first_not_of('\'');
  return first != std::string_view::npos && std::string_view("=+-@\t\r").find(cell[first]) != std::string_view::npos;
}

}  // namespace

std::string CsvText(const std::vector<CsvRow>& rows) {
  std::string out;
  for (const CsvRow& row : rows) {
    for (std::size_t k = 0; k < row.size(); ++k) {
      if (k > 0) out += ',';
      const std::string cell = StartsFormula(row[k]) ? "'" + row[k] : row[k];
      if (!NeedsQuotes(cell)) {
        out += cell;
        continue;
      }
      out += '"';
      for (const char c : cell) {
        if (c == '"') out += '"';
        out += c;
      }
      out += '"';
    }
    out += "\r\n";
  }
  return out;
}

CsvTable ParseCsv(std::string_view text) {
  CsvTable table;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  const auto fail = [&](const char* why) {
    table.error = why;
    table.errorRow = table.rows.size() + 1;
    return table;
  };

  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {  // a final line break adds no row
    CsvRow row;
    for (;;) {
      std::string cell;
      if (i < n && text[i] == '"') {
        for (++i;; ++i) {
          if (i >= n) return fail("a quoted cell has no closing quote");
          if (text[i] != '"') {
            cell += text[i];
          } else if (i + 1 < n && text[i + 1] == '"') {
            cell += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        }
        if (i < n && !EndsCell(text[i])) return fail("text follows the closing quote of a cell");
      } else {
        // A stray quote inside an unquoted cell is kept as it stands.
        while (i < n && !EndsCell(text[i])) cell += text[i++];
      }
      if (cell.starts_with('\'') && StartsFormula(std::string_view(cell).substr(1))) cell.erase(0, 1);
      row.push_back(std::move(cell));
      if (i >= n || text[i] != ',') break;
      ++i;
    }
    if (i < n) {
      const bool cr = text[i++] == '\r';
      if (cr && i < n && text[i] == '\n') ++i;
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace qm47
