#include "status/qt/skin_pictures.h"

#include <QFile>
#include <QImageReader>

namespace tarvik {

void QtSkinPictures::clear() {
  for (QPixmap& p : pictures_) p = QPixmap();
}

bool QtSkinPictures::loadResource(SkinBitmap slot, const std::string& resourceName) {
  QPixmap& p = pictures_[static_cast<int>(slot)];
  p = QPixmap(QStringLiteral(":/skin/") + QString::fromStdString(resourceName));
  return !p.isNull();
}

bool QtSkinPictures::loadFile(SkinBitmap slot, const std::filesystem::path& file) {
  QPixmap& p = pictures_[static_cast<int>(slot)];
  p = QPixmap();
  QImageReader reader(QString::fromStdString(file.string()));
  // The size comes from the header, before anything is decoded.
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
    return false;
  QImage image;
  if (!reader.read(&image) || image.isNull()) return false;
  p = QPixmap::fromImage(image);
  return !p.isNull();
}

}  // namespace tarvik
