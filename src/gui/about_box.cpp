#include "gui/about_box.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "files/data_folder.h"
#include "platform/app_paths.h"

namespace qm47 {

namespace {
constexpr const char* kProgramVersion = QM47_VERSION;
constexpr const char* kLicenceLine = "Copyright \u00A9 2026 the QM47 developers. All rights reserved.";
}  // namespace

AboutBox::AboutBox(const Session& s, QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle("About QM47");

  auto* icon = new QLabel;
  icon->setObjectName("imgIcon");
  icon->setPixmap(windowIcon().pixmap(64, 64));  // the window's, else the program's
  icon->setAlignment(Qt::AlignTop);

  auto* title = new QLabel(QString("<b>QM47</b> %1").arg(kProgramVersion));
  title->setObjectName("lblVersion");
  auto* model = new QLabel(QString::fromStdString(s.model.title));
  model->setObjectName("lblTitle");
  // Outside debug mode no log is kept; say where it would go.
  const std::string path =
      s.errorLog.path().empty() ? ErrorLogPath(s.dataFolder, PlatformStateFolder()) : s.errorLog.path();
  const QString where = QString::fromStdString(path);
  auto* errorLog = new QLabel(s.errorLog.enabled() ? QString("Faults are written to %1.").arg(where)
                                                   : QString("In debug mode (/D), faults are written to %1.").arg(where));
  errorLog->setObjectName("lblErrorLog");
  errorLog->setWordWrap(true);
  errorLog->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* licence = new QLabel(kLicenceLine);
  licence->setObjectName("lblLicence");
  licence->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->setHorizontalSpacing(16);
  layout->addWidget(icon, 0, 0, 4, 1);
  layout->addWidget(title, 0, 1);
  layout->addWidget(model, 1, 1);
  layout->addWidget(errorLog, 2, 1);
  layout->addWidget(licence, 3, 1);
  layout->addWidget(buttons, 4, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  errorLog->setMinimumWidth(320);
  licence->setMinimumWidth(320);
}

}  // namespace qm47
