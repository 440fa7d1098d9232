#include "settings/page_keys.h"

#include <vector>

#include "config/keys.h"
#include "stats/weekly_graph.h"

namespace tarvik {

namespace {

template <typename Key>
PageKey plain(std::string_view objectName, const Key& key) {
  return {objectName, settingKey(key)};
}

// A switch shown as one button of a radio pair: `on` is the button for the switch on.
template <typename Key>
PageKey pair(std::string_view objectName, const Key& key, bool on) {
  return {objectName, settingKey(key), Shows::RadioPair, on ? 1 : 0};
}

template <typename Key>
PageKey choice(std::string_view objectName, const Key& key, int value) {
  return {objectName, settingKey(key), Shows::Choice, value};
}

template <typename Key>
PageKey ranged(std::string_view objectName, const Key& key) {
  static_assert(
      requires { key.range; }, "only a number with a range shows ranged");
  return {objectName, settingKey(key), Shows::Ranged};
}

template <typename Key>
PageKey screenRanged(std::string_view objectName, const Key& key) {
  return {objectName, settingKey(key), Shows::ScreenRanged};
}

}  // namespace

Range PageKey::range() const {
  switch (shows) {
    case Shows::Ranged:
      return key.range;
    case Shows::ScreenRanged:
      return {0, 0, 1};
    default:
      return {};
  }
}

namespace {

std::vector<PageKey> cfgKeys() {
  namespace g = global_keys;
  return {
      plain("o_balloon", g::kHelpShow),   ranged("e_balloon", g::kHelpTime),
      plain("o_dbl", g::kAction),         plain("o_acc_def", g::kDefaultAcc),
      plain("o_acc_one", g::kAccountOne), plain("e_acc_one", balance_keys::kAccount),
      choice("o_t_0", g::kIcon, 0),       choice("o_t_1", g::kIcon, 1),
      choice("o_t_2", g::kIcon, 2),       choice("o_t_3", g::kIcon, 3),
      screenRanged("e_xx", g::kX),        screenRanged("e_yy", g::kY),
      pair("o_topleft", g::kO, true),     pair("o_botright", g::kO, false),
      plain("o_show", g::kShow),          plain("o_reinit", g::kInit),
      ranged("x_reinit", g::kPause),      plain("o_midnight", g::kMidnight),
  };
}

std::vector<PageKey> appKeys() {
  namespace g = global_keys;
  return {
      pair("o_tar_cost", g::kDisplayCost, true),
      pair("o_tar_name", g::kDisplayCost, false),
      ranged("e_warn", g::kWarnTime),
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

// The entry pages: currency, connection and messages.
std::vector<PageKey> curKeys() {
  namespace e = entry_keys;
  const auto& groups = balance_keys::kGroupAccount;
  return {
      plain("o_cur", e::kCurrencyIndex),
      plain("o_cur_show", e::kCurrencyDisplay),
      plain("e_cur", e::kCurrencyCustomAA),
      plain("e_cur_s", e::kCurrencyCustomAZ),
      plain("e_cur_sub", e::kCurrencyCustomZA),
      plain("e_cur_sub_s", e::kCurrencyCustomZZ),
      pair("o_account", e::kAccountDisplay, true),
      pair("o_expences", e::kAccountDisplay, false),
      plain("e_acc_1", groups[0]),
      plain("e_acc_2", groups[1]),
      plain("e_acc_3", groups[2]),
      plain("o_limit", e::kLimitUse),
      ranged("e_limit", e::kLimitSize),
      plain("o_limit_unit", e::kLimitUnit),
      plain("o_limit_span", e::kLimitSpan),
      plain("o_limit_count", e::kLimitCount),
      plain("o_limit_warn", e::kLimitWarn),
      ranged("e_limit_share", e::kLimitShare),
      plain("o_limit_hangup", e::kLimitHangUp),
  };
}

std::vector<PageKey> connKeys() {
  namespace e = entry_keys;
  return {
      plain("o_app", e::kExecute),
      plain("o_hangup", e::kHangUpAuto),
      ranged("e_hangup", e::kHangUpTime),
      ranged("e_free", e::kFreeTime),
      plain("o_sw_on", e::kStatusShow),
      plain("o_sw_of", e::kStatusHide),
      ranged("e_hide", e::kStatusWait),
      pair("o_when_au", e::kAuthentification, true),
      pair("o_when_on", e::kAuthentification, false),
  };
}

std::vector<PageKey> msgKeys() {
  namespace e = entry_keys;
  std::vector<PageKey> keys{
      plain("o_double", global_keys::kBaloon), plain("o_zero", e::kZeroWarn),
      plain("e_zero", e::kZeroFile),           plain("o_cell_min", e::kOnLineMinute),
      plain("o_cell_sec", e::kOnLineSecond),   ranged("e_sec", e::kOnLinePeriod),
      plain("o_on_beep", e::kOnLineBeep),      plain("o_on_wave", e::kOnLineWave),
      plain("e_on", e::kOnLineFile),           plain("o_of_beep", e::kOffLineBeep),
      plain("o_of_wave", e::kOffLineWave),     plain("e_of", e::kOffLineFile),
      ranged("e_month", e::kMonthLimit),       plain("o_rise", e::kRiseWarn),
      ranged("e_rise", e::kRiseTime),
  };
  constexpr std::string_view kUse[] = {"o_warn_1", "o_warn_2", "o_warn_3", "o_warn_4"};
  constexpr std::string_view kVal[] = {"e_warn_1", "e_warn_2", "e_warn_3", "e_warn_4"};
  for (std::size_t i = 0; i < e::kAccountUse.size(); ++i) {
    keys.push_back(plain(kUse[i], e::kAccountUse[i]));
    keys.push_back(ranged(kVal[i], e::kAccountVal[i]));
  }
  return keys;
}

std::vector<PageKey> tarKeys() {
  namespace e = entry_keys;
  return {plain("o_trunc", e::kTruncate), plain("o_credit", e::kCredit)};
}

std::vector<PageKey> skinKeys() {
  namespace g = global_keys;
  // The skin choice ("SkinExternal", "SkinName") is the page's own: three radios, a file.
  return {
      plain("o_transpar", g::kTransparent),
      ranged("x_transpar", g::kOpacity),
      plain("o_fade", g::kFade),
      ranged("x_fade", g::kSpeed),
      plain("o_absolute", g::kPriority),
  };
}

// The graph's axis buttons come from the axis table, so a new axis needs no row here.
std::vector<PageKey> statKeys() {
  std::vector<PageKey> keys{ranged("e_max", entry_keys::kGraphMax)};
  for (const GraphAxisRow& row : graphAxes())
    keys.push_back(choice(row.objectName, entry_keys::kGraphX, static_cast<int>(row.axis)));
  return keys;
}

}  // namespace

std::span<const PageKey> pageKeys(PageId page) {
  static const std::vector<PageKey> cur = curKeys();
  static const std::vector<PageKey> conn = connKeys();
  static const std::vector<PageKey> msg = msgKeys();
  static const std::vector<PageKey> cfg = cfgKeys();
  static const std::vector<PageKey> app = appKeys();
  static const std::vector<PageKey> tar = tarKeys();
  static const std::vector<PageKey> skin = skinKeys();
  static const std::vector<PageKey> stat = statKeys();
  switch (page) {
    case PageId::Cur:
      return cur;
    case PageId::Conn:
      return conn;
    case PageId::Msg:
      return msg;
    case PageId::Cfg:
      return cfg;
    case PageId::App:
      return app;
    case PageId::Tar:
      return tar;
    case PageId::Skin:
      return skin;
    case PageId::Stat:
      return stat;
    default:
      return {};
  }
}

}  // namespace tarvik
