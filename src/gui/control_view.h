// Drawing helpers the pages share: a control description onto its widget, access keys,
// the status-bar hint of a focused control, and a box sized for its longest text.
#pragma once

#include <QChar>
#include <QCheckBox>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "editor/pages/control_state.h"

namespace qm47 {

// Object name, accessible name (the caption) and description (the hint), visibility,
// enabling and the help context number (property "helpContext").
void DrawControl(QWidget& widget, const ControlState& state);

// The caption with `key` as its access key: "&" before the first `key` in it.
QString WithAccessKey(const std::string& caption, QChar key);

// A box just wide enough for `sample` in its own font, so it scales with the font.
void FitWidth(QLineEdit& box, const QString& sample);

// The record's value onto a box without its `toggled` signal: the handlers, which write
// through on every change (a click, a key, assistive technology), see only the user's.
void SetQuietly(QCheckBox& box, bool checked);

// Fills `page` with `content` in a frameless scroll area that takes no Tab stop of its own.
void FillScrolling(QWidget& page, QWidget* content);

// Puts a widget's hint into the status bar whenever it gains the focus.
class FocusHintFilter final : public QObject {
 public:
  FocusHintFilter(std::function<void(const QString&)> setHint, QObject* parent);
  void Watch(QWidget& widget, const std::string& hint);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> setHint_;
  std::map<const QObject*, QString> hints_;
};

}  // namespace qm47
