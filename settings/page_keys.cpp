#include "settings/page_keys.h"

#include <vector>

#include "config/keys.h"

namespace tarvik {

namespace {

template <typename Key>
PageKey plain(std::string_view objectName, const Key& key) {
  return {objectName, std::string_view(key.name)};
}

// A switch shown as one button of a radio pair: `on` is the button for the switch on.
template <typename Key>
PageKey pair(std::string_view objectName, const Key& key, bool on) {
  return {objectName, std::string_view(key.name), on ? 1 : 0, true};
}

template <typename Key>
PageKey choice(std::string_view objectName, const Key& key, int value) {
  return {objectName, std::string_view(key.name), value};
}

// The range a control offers is the key's own where the key table has one.
template <typename Key>
PageKey ranged(std::string_view objectName, const Key& key, int min, int max, int step) {
  if constexpr (requires { key.range; }) {
    if (key.range.bounded()) {
      min = key.range.min;
      max = key.range.max;
      step = key.range.step;
    }
  }
  return {objectName, std::string_view(key.name), -1, false, min, max, step};
}

std::vector<PageKey> cfgKeys() {
  namespace g = global_keys;
  return {
      plain("o_balloon", g::kHelpShow),
      ranged("e_balloon", g::kHelpTime, 2, 15, 1),
      plain("o_dbl", g::kAction),
      plain("o_acc_def", g::kDefaultAcc),
      plain("o_acc_one", g::kAccountOne),
      plain("e_acc_one", balance_keys::kAccount),
      choice("o_t_0", g::kIcon, 0),
      choice("o_t_1", g::kIcon, 1),
      choice("o_t_2", g::kIcon, 2),
      choice("o_t_3", g::kIcon, 3),
      // The maximum follows the screen; the page sets it at every show.
      ranged("e_xx", g::kX, 0, 0, 1),
      ranged("e_yy", g::kY, 0, 0, 1),
      pair("o_topleft", g::kO, true),
      pair("o_botright", g::kO, false),
      plain("o_show", g::kShow),
      plain("o_reinit", g::kInit),
      ranged("x_reinit", g::kPause, 1750, 5000, 250),
      plain("o_midnight", g::kMidnight),
  };
}

std::vector<PageKey> appKeys() {
  namespace g = global_keys;
  return {
      pair("o_tar_cost", g::kDisplayCost, true),
      pair("o_tar_name", g::kDisplayCost, false),
      ranged("e_warn", g::kWarnTime, 2, 10, 1),
      plain("o_warn_beep", g::kWarnBeep),
      plain("o_warn_wav", g::kWarnWave),
      plain("e_warning", g::kWarnFile),
      pair("o_inact_null", g::kDisplayZero, true),
      pair("o_inact_empty", g::kDisplayZero, false),
      pair("z_clear", g::kLogClear, true),
      pair("z_noclear", g::kLogClear, false),
      plain("o_seq_2", g::kSecurityII),
  };
}

}  // namespace

std::span<const PageKey> pageKeys(PageId page) {
  static const std::vector<PageKey> cfg = cfgKeys();
  static const std::vector<PageKey> app = appKeys();
  switch (page) {
    case PageId::Cfg:
      return cfg;
    case PageId::App:
      return app;
    default:
      return {};
  }
}

}  // namespace tarvik
