#pragma once

#include <QPixmap>
#include <array>

#include "status/skin_loader.h"

namespace tarvik {

// The twelve picture holders of the status window (i_ind_di ... i_switch_dn and the face).
class QtSkinPictures final : public SkinPictures {
 public:
  // Pictures larger than this in either direction are refused: no skin needs them and decoding
  // them would cost gigabytes.
  static constexpr int kMaxPictureSide = 4096;

  void clear() override;
  bool loadResource(SkinBitmap slot, const std::string& resourceName) override;
  bool loadFile(SkinBitmap slot, const std::filesystem::path& file) override;

  const QPixmap& picture(SkinBitmap slot) const { return pictures_[static_cast<int>(slot)]; }

 private:
  std::array<QPixmap, 12> pictures_;
};

}  // namespace tarvik
