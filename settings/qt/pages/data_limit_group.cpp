#include "settings/qt/pages/data_limit_group.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "config/keys.h"
#include "settings/qt/count_check.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/up_down.h"

namespace tarvik {

using namespace widgets;

DataLimitGroup::DataLimitGroup(QWidget* parent, PageId page, SettingsFrame& frame)
    : QGroupBox(QString::fromUtf8(" о г р а н и ч е н и е    п о    т р а ф и к у "), parent) {
  setObjectName("z_limit");
  o_limit_ = check(this, "o_limit", "ЛИМИТ  ТРАФИКА:");
  auto* e_limit = edit(this, "e_limit");
  e_limit->setFixedWidth(44);
  ud_limit_ = new UpDown(e_limit, page);
  auto* unit = dropDown(this, "o_limit_unit", {"МБ", "ГБ"});
  auto* span = dropDown(this, "o_limit_span", {"В  ДЕНЬ", "В  НЕДЕЛЮ", "В  МЕСЯЦ"});
  auto* count =
      dropDown(this, "o_limit_count",
               {"ПРИНЯТЬIЙ  И  ОТПРАВЛЕННЬIЙ", "ТОЛЬКО  ПРИНЯТЬIЙ", "ТОЛЬКО  ОТПРАВЛЕННЬIЙ"});
  o_limit_warn_ = check(this, "o_limit_warn", "ПРЕДУПРЕЖДАТЬ  ПРИ");
  auto* e_share = edit(this, "e_limit_share");
  e_share->setFixedWidth(28);
  ud_limit_share_ = new UpDown(e_share, page);
  auto* percent = label(this, "s_limit_share", "%");
  auto* hangUp = check(this, "o_limit_hangup", "РАЗРЬIВАТЬ  СВЯЗЬ  ПРИ  ИСЧЕРПАНИИ");

  auto* grid = new QGridLayout(this);
  grid->setVerticalSpacing(1);
  grid->addWidget(o_limit_, 0, 0);
  grid->addWidget(e_limit, 0, 1);
  grid->addWidget(ud_limit_, 0, 2);
  grid->addWidget(unit, 0, 3);
  grid->addWidget(span, 0, 4);
  grid->addWidget(count, 0, 5, 1, 2);
  grid->addWidget(o_limit_warn_, 1, 0);
  grid->addWidget(e_share, 1, 1);
  grid->addWidget(ud_limit_share_, 1, 2);
  grid->addWidget(percent, 1, 3, 1, 2);
  grid->addWidget(hangUp, 1, 5);
  grid->setColumnStretch(6, 1);
  limited_ = {unit, span, count, o_limit_warn_, percent, hangUp};

  connect(o_limit_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(o_limit_warn_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  checkCountOnChange(e_limit, entry_keys::kLimitSize, false, frame);
  checkCountOnChange(e_share, entry_keys::kLimitShare, false, frame);
  updateEnabling();
}

void DataLimitGroup::updateEnabling() {
  const bool on = o_limit_->isChecked();
  ud_limit_->setActive(on);
  for (QWidget* w : limited_) w->setEnabled(on);
  ud_limit_share_->setActive(on && o_limit_warn_->isChecked());
}

}  // namespace tarvik
