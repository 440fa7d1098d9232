#pragma once

#include <QPixmap>
#include <array>
#include <cstdint>

#include "status/skin_loader.h"

namespace tarvik {

// The twelve picture holders of the status window (i_ind_di ... i_switch_dn and the face).
class QtSkinPictures final : public SkinPictures {
 public:
  // Pictures larger than this in either direction are refused: no skin needs them and decoding
  // them would cost gigabytes.
  static constexpr int kMaxPictureSide = 4096;
  // The largest picture file read: an uncompressed picture of that size, with room to spare.
  static constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{96} << 20;

  void clear() override;
  bool loadResource(SkinBitmap slot, const std::string& resourceName) override;
  bool loadFile(SkinBitmap slot, const std::filesystem::path& file) override;

  const QPixmap& picture(SkinBitmap slot) const { return pictures_[static_cast<int>(slot)]; }

 private:
  std::array<QPixmap, 12> pictures_;
};

}  // namespace tarvik
