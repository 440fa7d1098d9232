#include "settings/qt/pages/page_set.h"

#include "settings/qt/pages/tab_app.h"
#include "settings/qt/pages/tab_cfg.h"
#include "settings/qt/pages/tab_conn.h"
#include "settings/qt/pages/tab_cur.h"
#include "settings/qt/pages/tab_editor.h"
#include "settings/qt/pages/tab_info.h"
#include "settings/qt/pages/tab_msg.h"
#include "settings/qt/pages/tab_skin.h"
#include "settings/qt/pages/tab_stat.h"
#include "settings/qt/pages/tab_tar.h"

namespace tarvik {

std::array<SettingsTab*, kPageCount> makePages(SettingsFrame& frame) {
  return {new TabCfg(frame),  new TabApp(frame), new TabSkin(frame), new TabEditor(frame),
          new TabInfo(frame), new TabCur(frame), new TabTar(frame),  new TabConn(frame),
          new TabMsg(frame),  new TabStat(frame)};
}

}  // namespace tarvik
