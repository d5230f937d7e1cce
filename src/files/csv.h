// Comma-separated values as spreadsheets exchange them (RFC 4180).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm47 {

using CsvRow = std::vector<std::string>;

// Rows ended by CR LF; a cell holding a comma, a quote, a line break or a space at either
// end is quoted, with its quotes doubled. A cell that begins with = + - @, a tab or a CR
// (after any quotes of its own) gets a ' in front, so that a spreadsheet does not run it.
std::string CsvText(const std::vector<CsvRow>& rows);

struct CsvTable {
  std::vector<CsvRow> rows;
  std::optional<std::string> error;  // why the text is not CSV; rows then holds what came before
  std::size_t errorRow = 0;          // from 1, as a spreadsheet numbers its rows
};

// Accepts CR LF, LF or a lone CR as row ends and a UTF-8 byte order mark in front. A final
// line break adds no row. A quoted cell may span lines; it still counts as one row. The '
// that CsvText puts in front of a cell is taken off again, and no other.
CsvTable ParseCsv(std::string_view text);

}  // namespace qm47
