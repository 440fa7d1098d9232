#include "platform/linux/audio/sound_player.h"

#include <QFileInfo>
#include <QUrl>

namespace tarvik {

void LinuxSoundPlayer::play(const std::string& file) {
  // A sound the user has not chosen, or whose file has gone, is simply not played.
  const QString path = QString::fromStdString(file);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return;
  const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
  if (effect_.source() == source && effect_.isLoaded()) {
    effect_.stop();
    effect_.play();
    return;
  }
  effect_.setSource(source);
  effect_.play();  // starts as soon as the file has been loaded
}

}  // namespace tarvik
