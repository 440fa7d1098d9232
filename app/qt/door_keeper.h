#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "app/instance_door.h"

namespace tarvik {

// Opens the running instance's door and answers every knock from the event loop: `onRequest`
// gets what a later start asked for ("show" or "settings") and says whether it was done.
class DoorKeeper : public QObject {
  Q_OBJECT

 public:
  DoorKeeper(const std::filesystem::path& socket,
             std::function<bool(std::string_view request)> onRequest);

  bool open() const { return door_.fd() >= 0; }

 private:
  InstanceDoor door_;
  std::unique_ptr<QSocketNotifier> knocks_;
  std::function<bool(std::string_view)> onRequest_;
};

}  // namespace tarvik
