#include "gui/page_area.h"

#include <QImage>
#include <QPainter>
#include <QVBoxLayout>

namespace qm47 {

// The logo kept in its file's own colours (a GIF holds at most 256: a quarter of the
// full-colour copy the reader gives), turned into screen colours only while it is drawn.
class LogoView final : public QLabel {
 public:
  bool Load(const QString& path) {
    const QImage read(path);
    image_ = read.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    // A picture of more colours would lose some: it stays as read.
    if (image_.convertToFormat(read.format()) != read) image_ = read;
    updateGeometry();
    update();
    return !image_.isNull();
  }
  QSize sizeHint() const override { return image_.isNull() ? QLabel::sizeHint() : image_.size(); }
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (image_.isNull()) return QLabel::paintEvent(event);
    QPainter painter(this);
    QRect place(QPoint(), image_.size());
    place.moveCenter(contentsRect().center());
    painter.drawImage(place, image_);
  }

 private:
  QImage image_;
};

PageArea::PageArea(QWidget* parent) : QStackedWidget(parent), logo_(new LogoView), general_(new QWidget), blank_(new QWidget) {
  setObjectName("pages");
  setAccessibleName("Page");
  setFrameShape(QFrame::StyledPanel);

  general_->setObjectName("picGeneral");
  general_->setAccessibleName("General");
  logo_->setObjectName("imgLogo");
  auto* layout = new QVBoxLayout(general_);
  layout->addWidget(logo_);

  blank_->setObjectName("picBlank");
  blank_->setAccessibleName("Blank");
  addWidget(general_);
  addWidget(blank_);
  for (int i = 0; i < count(); ++i) widget(i)->setEnabled(false);
  setCurrentWidget(blank_);
}

void PageArea::Register(PageKind kind, Page* page) {
  pages_[kind] = page;
  if (indexOf(page) < 0) addWidget(page);
  page->setEnabled(false);
}

QWidget* PageArea::PageFor(PageKind kind) const {
  if (kind == PageKind::General) return general_;
  const auto it = pages_.find(kind);
  return it == pages_.end() ? blank_ : it->second;
}

Page* PageArea::Current() const {
  const auto it = pages_.find(shown_.kind);
  return it == pages_.end() ? nullptr : it->second;
}

void PageArea::Show(const PageRef& page, WindowFlags& flags) {
  QWidget* target = PageFor(page.kind);
  for (int i = 0; i < count(); ++i) widget(i)->setEnabled(false);
  shown_ = page;
  if (Page* p = Current()) {
    const PageLoading loading(flags);
    p->Fill(page);
  }
  setCurrentWidget(target);
  target->setEnabled(true);
}

EntryWindowState PageArea::PendingEntry() const {
  const Page* p = Current();
  return p ? p->PendingEntry() : EntryWindowState{};
}

void PageArea::ApplyEntry(const EntryOutcome& outcome) {
  if (Page* p = Current()) p->ApplyEntry(outcome);
}

void PageArea::LoadLogo(const std::string& path) {
  const bool shown = logo_->Load(QString::fromStdString(path));
  logo_->setAccessibleName(shown ? "Logo" : QString());
}

}  // namespace qm47
