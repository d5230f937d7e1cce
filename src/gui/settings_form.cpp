#include "gui/settings_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "gui/column_flow_layout.h"

namespace qm47 {

namespace {

enum class Kind { List, Check, Text, Button };

struct Piece {
  Kind kind;
  const ControlState* c;
};

// Controls that share a frame (or none) and a form: label and control pairs, or a table.
struct Section {
  std::string group;
  bool table = false;
  std::vector<Piece> pieces;
};

constexpr int kRowsPerBlock = 10;  // a longer table continues beside itself

bool InTable(const Piece& p) { return p.kind != Kind::Button && !p.c->row.empty(); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

std::vector<Piece> PiecesOn(const SettingsPageState& s, const std::string& tab) {
  std::vector<Piece> pieces;
  const auto add = [&](Kind kind, const auto& controls) {
    for (const auto& c : controls) {
      if (c.tab == tab) pieces.push_back({kind, &c});
    }
  };
  add(Kind::Check, s.checks);
  add(Kind::Text, s.texts);
  add(Kind::List, s.lists);
  add(Kind::Button, s.buttons);
  return pieces;
}

std::vector<Section> SectionsOf(const std::vector<Piece>& pieces) {
  std::vector<Section> sections;
  for (const Piece& p : pieces) {
    const bool table = InTable(p);
    auto it = std::find_if(sections.begin(), sections.end(),
                           [&](const Section& s) { return s.group == p.c->group && s.table == table; });
    if (it == sections.end()) {
      sections.push_back({p.c->group, table, {}});
      it = sections.end() - 1;
    }
    it->pieces.push_back(p);
  }
  return sections;
}

template <typename T>
void AddUnique(std::vector<T>& list, const T& value) {
  if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

class FormBuilder {
 public:
  FormBuilder(PageContext& context, QWidget* page, FocusHints& hints)
      : context_(context), page_(page), hints_(hints), keys_(page->window()) {}

  SettingsForm Build(const SettingsPageState& state) {
    notes_ = &state.notes;
    if (state.tabs.empty()) {
      form_.root = Panel(PiecesOn(state, ""), keys_);
      return form_;
    }
    form_.tabs = new QTabWidget;
    form_.tabs->setObjectName("tabSettings");
    form_.root = form_.tabs;
    std::vector<QString> captions;
    for (const std::string& tab : state.tabs) captions.push_back(keys_.Mark(Q(tab)));
    for (std::size_t i = 0; i < state.tabs.size(); ++i) {
      // Each tab's controls have their own letters; only the tab captions are shared.
      AccessKeys keys = keys_;
      form_.tabs->addTab(Panel(PiecesOn(state, state.tabs[i]), keys), captions[i]);
    }
    return form_;
  }

 private:
  QWidget* Panel(const std::vector<Piece>& pieces, AccessKeys& keys) {
    // Text boxes choose their access keys first: they are the hardest to reach otherwise.
    for (const Piece& p : pieces) {
      if (p.kind == Kind::Text && p.c->row.empty()) textKeys_[p.c->name] = keys.Mark(Q(p.c->caption));
    }
    auto* content = new QWidget;
    auto* flow = new ColumnFlowLayout(content);
    const int gap = content->style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing);
    flow->setSpacing(std::max(gap, 6) + 4);
    for (const Section& section : SectionsOf(pieces)) {
      if (section.table) {
        for (QWidget* block : Table(section, keys)) flow->addWidget(block);
      } else {
        flow->addWidget(Form(section, keys));
      }
    }
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    return scroll;
  }

  // A group box for a group, a plain area for the controls outside any.
  static QWidget* Frame(const std::string& group, QGridLayout*& grid) {
    QWidget* frame = group.empty() ? new QWidget : new QGroupBox(Q(group));
    grid = new QGridLayout(frame);
    if (group.empty()) grid->setContentsMargins(0, 0, 0, 0);
    return frame;
  }

  QWidget* Form(const Section& section, AccessKeys& keys) {
    QGridLayout* grid = nullptr;
    QWidget* frame = Frame(section.group, grid);
    std::map<std::string, QHBoxLayout*> cellOfCaption;
    // A frame of check boxes alone puts them side by side.
    const bool side =
        std::all_of(section.pieces.begin(), section.pieces.end(), [](const Piece& p) { return p.kind == Kind::Check; });
    int row = 0;
    int column = 0;
    for (const Piece& p : section.pieces) {
      const ControlState& c = *p.c;
      if (side) {
        grid->addWidget(Control(p, keys.Mark(Q(c.caption)), Q(c.caption)), 0, column++);
      } else if (p.kind == Kind::Check) {
        grid->addWidget(Control(p, keys.Mark(Q(c.caption)), Q(c.caption)), row++, 0, 1, 2);
      } else if (p.kind == Kind::Button && cellOfCaption.contains(c.row)) {
        // A button beside the control it acts on ("Count" and its "Clear").
        QHBoxLayout* cell = cellOfCaption[c.row];
        cell->insertWidget(cell->count() - 1, Control(p, keys.Mark(Q(c.caption)), JoinedName({c.row, c.caption})));
      } else {
        const std::string& text = p.kind == Kind::Button ? c.row : c.caption;
        auto* label = new QLabel(textKeys_.contains(c.name) ? textKeys_[c.name] : keys.Mark(Q(text)));
        grid->addWidget(label, row, 0);
        QWidget* control = p.kind == Kind::Button ? Control(p, Q(c.caption), JoinedName({c.row, c.caption}))
                                                  : Control(p, {}, Q(c.caption));
        auto* cell = new QHBoxLayout;
        cell->addWidget(control);
        cell->addStretch();
        grid->addLayout(cell, row++, 1);
        Label(label, control, c.name);
        cellOfCaption[text] = cell;
      }
    }
    for (const std::string& text : Notes(section, "")) {
      grid->addWidget(new QLabel(Q(text)), side ? 1 : row++, 0, 1, side ? column : 2);
    }
    grid->setColumnStretch(side ? column : 1, 1);
    return frame;
  }

  // The notes of the section's group, under `column` ("" for the group as a whole).
  std::vector<std::string> Notes(const Section& section, const std::string& column) const {
    std::vector<std::string> texts;
    const std::string& tab = section.pieces.front().c->tab;
    for (const NoteLabel& note : *notes_) {
      if (note.tab == tab && note.group == section.group && note.column == column) texts.push_back(note.text);
    }
    return texts;
  }

  // One or more blocks of a table: rows by their label, a column per caption.
  std::vector<QWidget*> Table(const Section& section, AccessKeys& keys) {
    std::vector<std::string> rows;
    std::vector<std::string> columns;
    bool lead = false;  // a control named by its row stands first, under no heading
    for (const Piece& p : section.pieces) {
      AddUnique(rows, p.c->row);
      if (p.c->caption != p.c->row) AddUnique(columns, p.c->caption);
      lead = lead || (p.c->caption == p.c->row && p.kind != Kind::Check);
    }
    const int first = lead ? 2 : 1;
    std::vector<QWidget*> blocks;
    for (std::size_t from = 0; from < rows.size(); from += kRowsPerBlock) {
      QGridLayout* grid = nullptr;
      blocks.push_back(Frame(section.group, grid));
      for (std::size_t j = 0; j < columns.size(); ++j) {
        if (columns[j] == section.group) continue;
        std::string heading = columns[j];
        for (const std::string& note : Notes(section, columns[j])) heading += "\n" + note;
        grid->addWidget(new QLabel(Q(heading)), 0, first + static_cast<int>(j), Qt::AlignLeft | Qt::AlignBottom);
      }
      const std::size_t to = std::min(rows.size(), from + kRowsPerBlock);
      for (std::size_t r = from; r < to; ++r) TableRow(section, rows[r], columns, first, grid, keys);
      grid->setColumnStretch(first + static_cast<int>(columns.size()), 1);
    }
    return blocks;
  }

  void TableRow(const Section& section, const std::string& row, const std::vector<std::string>& columns, int first,
                QGridLayout* grid, AccessKeys& keys) {
    const int at = grid->rowCount();
    const auto ownRow = [&](const Piece& p) { return p.c->row == row && p.c->caption == row; };
    // The row's own check box heads it; otherwise a label does, naming the row's first control.
    const auto head = std::find_if(section.pieces.begin(), section.pieces.end(),
                                   [&](const Piece& p) { return ownRow(p) && p.kind == Kind::Check; });
    QLabel* rowLabel = nullptr;
    if (head != section.pieces.end()) {
      grid->addWidget(Control(*head, keys.Mark(Q(row)), JoinedName({section.group, row})), at, 0);
    } else {
      rowLabel = new QLabel(keys.Mark(Q(row)));
      grid->addWidget(rowLabel, at, 0);
    }
    const auto place = [&](const Piece& p, int column) {
      QWidget* control = Control(p, {}, JoinedName({section.group, row, p.c->caption}));
      const auto* list = p.kind == Kind::List ? static_cast<const ListControl*>(p.c) : nullptr;
      if (list && list->line) {
        // The line from the control it depends on, on its left, leads into it.
        auto* cell = new QHBoxLayout;
        cell->setSpacing(0);
        auto* line = new ConnectorLine(nullptr, ConnectorLine::Shape::Across);
        line->setObjectName(Q("lineTo" + p.c->name));
        form_.lines[p.c->name] = line;
        cell->addWidget(line);
        cell->addWidget(control);
        grid->addLayout(cell, at, column);
      } else {
        grid->addWidget(control, at, column);
      }
      if (rowLabel && !rowLabel->buddy()) rowLabel->setBuddy(control);
    };
    // In column order, so the tab key walks the row from left to right.
    for (const Piece& p : section.pieces) {
      if (ownRow(p) && p.kind != Kind::Check) place(p, 1);
    }
    for (std::size_t j = 0; j < columns.size(); ++j) {
      for (const Piece& p : section.pieces) {
        if (p.c->row == row && p.c->caption == columns[j]) place(p, first + static_cast<int>(j));
      }
    }
  }

  // The label names the control for screen readers and follows its enabling.
  void Label(QLabel* label, QWidget* control, const std::string& name) {
    label->setBuddy(control);
    if (!name.empty()) form_.labels[name] = label;
  }

  QWidget* Control(const Piece& p, const QString& caption, const QString& accessibleName) {
    const ControlState& c = *p.c;
    QWidget* w = nullptr;
    switch (p.kind) {
      case Kind::List: {
        auto* box = new QComboBox;
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMinimumContentsLength(3);
        form_.lists[c.name] = box;
        w = box;
        break;
      }
      case Kind::Check: {
        auto* box = new QCheckBox(caption);
        form_.checks[c.name] = box;
        w = box;
        break;
      }
      case Kind::Text: {
        const auto& text = static_cast<const TextControl&>(c);
        auto* box = new QLineEdit;
        FitToCharacters(*box, text.maxLength > 0 ? text.maxLength : 3);
        form_.texts[c.name] = box;
        if (!text.readOnly()) {
          // Its hint comes from its entry rule.
          form_.entries[c.name] = new EntryFieldAdapter(*box, context_, *page_);
          FocusHints::Name(box, c, accessibleName);
          return box;
        }
        w = box;
        break;
      }
      case Kind::Button: {
        auto* button = new QPushButton(caption);
        button->setAutoDefault(false);
        form_.buttons[c.name] = button;
        w = button;
        break;
      }
    }
    hints_.Describe(w, c, accessibleName);
    return w;
  }

  PageContext& context_;
  QWidget* page_;
  FocusHints& hints_;
  AccessKeys keys_;
  std::map<std::string, QString> textKeys_;  // caption with its access key, by control name
  const std::vector<NoteLabel>* notes_ = nullptr;
  SettingsForm form_;
};

}  // namespace

SettingsForm BuildSettingsForm(const SettingsPageState& state, PageContext& context, QWidget* page, FocusHints& hints) {
  return FormBuilder(context, page, hints).Build(state);
}

}  // namespace qm47
