#include "gui/page_area.h"

#include <QPixmap>
#include <QVBoxLayout>

namespace qm47 {

PageArea::PageArea(QWidget* parent) : QStackedWidget(parent), logo_(new QLabel), general_(new QWidget), blank_(new QWidget) {
  setObjectName("pages");
  setAccessibleName("Page");
  setFrameShape(QFrame::StyledPanel);

  general_->setObjectName("picGeneral");
  general_->setAccessibleName("General");
  logo_->setObjectName("imgLogo");
  logo_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(general_);
  layout->addWidget(logo_);

  blank_->setObjectName("picBlank");
  blank_->setAccessibleName("Blank");
  addWidget(general_);
  addWidget(blank_);
  for (int i = 0; i < count(); ++i) widget(i)->setEnabled(false);
  setCurrentWidget(blank_);
}

QWidget* PageArea::PageFor(PageKind kind) const { return kind == PageKind::General ? general_ : blank_; }

void PageArea::Show(const PageRef& page) {
  QWidget* target = PageFor(page.kind);
  for (int i = 0; i < count(); ++i) widget(i)->setEnabled(false);
  setCurrentWidget(target);
  target->setEnabled(true);
  shown_ = page;
}

void PageArea::LoadLogo(const std::string& path) {
  QPixmap logo;
  if (logo.load(QString::fromStdString(path))) logo_->setPixmap(logo);
  logo_->setAccessibleName(logo.isNull() ? QString() : "Logo");
}

}  // namespace qm47
