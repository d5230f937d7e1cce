// What the settings and directory pages share: the hint a control puts into the status
// bar when it gets the focus, its help context number, access keys, and box widths.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <map>
#include <span>

#include "editor/pages/control_state.h"

class QLineEdit;
class QTableWidget;
class QWidget;

namespace qm47 {

// The documented sizes are in twips, 1440 to the inch.
inline constexpr int kTwipsPerInch = 1440;
// Pixels per inch of `widget`'s screen; 96 where it does not say.
int DotsPerInch(const QWidget& widget);

// Each column of a filled grid at its documented width, or wider where its heading or a
// cell needs more, so that no text is cut.
void FitGridColumns(QTableWidget& grid, std::span<const GridColumn> columns);

// Hints and help numbers of the controls that are not text boxes (those get theirs from
// their entry rule).
class FocusHints final : public QObject {
 public:
  FocusHints(std::function<void(const QString&)> setHint, QObject* parent);
  // Name, accessible name, hint and help context number of `control` from `state`.
  void Describe(QWidget* control, const ControlState& state, const QString& accessibleName);
  // The same without the hint (text boxes have theirs from their entry rule).
  static void Name(QWidget* control, const ControlState& state, const QString& accessibleName);

  // The property that carries a control's help context number, for the window's help key.
  static constexpr const char* kHelpContext = "helpContext";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> setHint_;
  std::map<const QObject*, QString> hints_;
};

// Access keys, each letter once on a page, none that the window's menu bar uses.
class AccessKeys {
 public:
  // The letters the menu bar of `window` already uses are left out.
  explicit AccessKeys(const QWidget* window);
  AccessKeys(const AccessKeys&) = default;

  // `caption` with "&" before its first free letter, preferring the first letter of a word.
  QString Mark(const QString& caption);

 private:
  QSet<QChar> used_;
};

// A text box as wide as `characters` characters, whatever the font and scale.
void FitToCharacters(QLineEdit& box, int characters);

// "USA" + "Status Name": what a screen reader says for a control in a row and a column.
QString JoinedName(std::initializer_list<std::string> parts);

}  // namespace qm47
