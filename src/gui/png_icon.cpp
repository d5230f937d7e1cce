#include "gui/png_icon.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>

namespace qm47 {

namespace {

QImage ReadPng(const QString& path) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace

void AddPng(QIcon& icon, const QString& path) {
  const QImage image = ReadPng(path);
  if (image.isNull()) return;
  icon.addPixmap(QPixmap::fromImage(image));
  if (!qApp || qApp->devicePixelRatio() <= 1.0) return;
  QString twice = path;
  twice.insert(path.lastIndexOf('.'), "@2x");
  QImage sharp = ReadPng(twice);
  if (sharp.isNull()) return;
  sharp.setDevicePixelRatio(2.0);
  icon.addPixmap(QPixmap::fromImage(sharp));
}

QIcon PngIcon(const QString& path) {
  QIcon icon;
  AddPng(icon, path);
  return icon;
}

}  // namespace qm47
