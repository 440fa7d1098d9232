#include "status/qt/skin_pictures.h"

#include <QBuffer>
#include <QImageReader>

#include "config/regular_file.h"

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
  // Decoded from the bytes of a file checked to be regular: a FIFO or device named as a
  // picture would otherwise hang the reader.
  const FileRead read = readRegularFile(file, kMaxPictureBytes);
  if (read.error != 0) return false;
  QByteArray bytes =
      QByteArray::fromRawData(read.bytes.data(), static_cast<qsizetype>(read.bytes.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
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
