// Lays out a settings page from its description alone: tabs become a tab widget, groups
// group boxes, rows the rows of a table with a column per caption, the rest label and
// control pairs; the sections flow into as many columns as the page is wide.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <map>
#include <string>

#include "editor/pages/page_controls.h"
#include "gui/connector_line.h"
#include "gui/page.h"
#include "gui/page_widgets.h"
#include "gui/page_entries.h"

namespace qm47 {

// The controls of a laid out page by objectName, and the label beside each (by the
// control's name), which follows the control's enabling.
struct SettingsForm {
  QWidget* root = nullptr;
  QTabWidget* tabs = nullptr;  // null on a page without tabs
  std::map<std::string, QComboBox*> lists;
  std::map<std::string, QCheckBox*> checks;
  std::map<std::string, QLineEdit*> texts;
  std::map<std::string, EntryFieldAdapter*> entries;  // the texts that are not read-only
  std::map<std::string, QPushButton*> buttons;
  std::map<std::string, QLabel*> labels;
  std::map<std::string, ConnectorLine*> lines;  // by the name of the control each leads to
};

// `page` is the page the form goes on; its window's menu bar keeps its access keys.
SettingsForm BuildSettingsForm(const SettingsPageState& state, PageContext& context, QWidget* page, FocusHints& hints);

}  // namespace qm47
