#include "gui/review_dialog.h"

#include "editor/radio/program_review.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm47 {

namespace {

QTableWidget* ChangesTable(const std::vector<SettingChange>& changes) {
  auto* table = new QTableWidget(static_cast<int>(changes.size()), 4);
  table->setObjectName("tblChanges");
  table->setAccessibleName("Settings that will change");
  table->setHorizontalHeaderLabels({"Where", "Setting", "In the radio", "After programming"});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < table->rowCount(); ++row) {
    const SettingChange c = ShownChange(changes[static_cast<std::size_t>(row)]);
    int column = 0;
    for (const std::string* text : {&c.section, &c.key, &c.before, &c.after}) {
      table->setItem(row, column++, new QTableWidgetItem(QString::fromStdString(*text)));
    }
  }
  table->resizeColumnsToContents();
  return table;
}

}  // namespace

ReviewDialog::ReviewDialog(const ProgramReview& review, QWidget* parent) : QDialog(parent) {
  const std::vector<SettingChange>& changes = review.changes;
  setObjectName("frmReview");
  setWindowTitle("Program to Radio");
  auto* layout = new QVBoxLayout(this);

  const QString summary = changes.empty() ? QString("No setting will change: the radio holds these settings already.")
                          : changes.size() == 1
                              ? QString("This setting will change in the radio:")
                              : QString("These %1 settings will change in the radio:").arg(changes.size());
  if (!review.warning.empty()) {
    auto* warning = new QLabel("<b>" + QString::fromStdString(review.warning).toHtmlEscaped() + "</b>");
    warning->setObjectName("lblWarning");
    warning->setWordWrap(true);
    warning->setAccessibleName(QString::fromStdString(review.warning));
    layout->addWidget(warning);
  }
  auto* label = new QLabel(summary);
  label->setObjectName("lblReview");
  layout->addWidget(label);
  if (!changes.empty()) {
    QTableWidget* table = ChangesTable(changes);
    label->setBuddy(table);
    layout->addWidget(table);
    resize(620, 420);
  }
  auto* plan = new QLabel(QString::fromStdString(review.plan));
  plan->setObjectName("lblPlan");
  plan->setWordWrap(true);
  layout->addWidget(plan);
  if (review.offersWrittenCheck) {
    writtenOnly_ = new QCheckBox("Check only the blocks written (the radio has stayed here since its read)");
    writtenOnly_->setObjectName("chkWrittenOnly");
    writtenOnly_->setAccessibleName(writtenOnly_->text());
    writtenOnly_->setChecked(review.checkWrittenOnly);
    layout->addWidget(writtenOnly_);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
  buttons->button(QDialogButtonBox::Ok)->setText("Program");
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName("Program");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

ReviewAnswer ReviewDialog::Ask() {
  ReviewAnswer answer;
  answer.program = exec() == QDialog::Accepted;
  answer.checkWrittenOnly = writtenOnly_ && writtenOnly_->isChecked();
  return answer;
}

}  // namespace qm47
