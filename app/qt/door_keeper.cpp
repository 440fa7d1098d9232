#include "app/qt/door_keeper.h"

namespace tarvik {

DoorKeeper::DoorKeeper(const std::filesystem::path& socket,
                       std::function<bool(std::string_view)> onRequest)
    : door_(socket), onRequest_(std::move(onRequest)) {
  if (socket.empty() || !door_.open()) return;
  knocks_ = std::make_unique<QSocketNotifier>(door_.fd(), QSocketNotifier::Read);
  connect(knocks_.get(), &QSocketNotifier::activated, this, [this] { door_.answer(onRequest_); });
}

}  // namespace tarvik
