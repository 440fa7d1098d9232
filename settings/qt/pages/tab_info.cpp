#include "settings/qt/pages/tab_info.h"

#include <QTimer>
#include <QVBoxLayout>

#include "settings/help_contexts.h"
#include "settings/qt/link_label.h"
#include "settings/qt/page_widgets.h"

namespace tarvik {

namespace {

// The help panel is taller while it holds the two download links.
constexpr int kServerHeightWithHelp = 54;
constexpr int kServerHeightWithoutHelp = 69;

constexpr int kBlinkIntervalMs = 250;
constexpr int kBlinkTicks = 12;

// Where a build without the manual sends the reader.
constexpr const char* kHelpDownloadServer0 = "https://tarvik.example.org/help/";
constexpr const char* kHelpDownloadServer1 = "https://mirror.tarvik.example.org/help/";

LinkLabel* link(QWidget* parent, const char* name, const char* text) {
  return widgets::named(new LinkLabel(QString::fromUtf8(text), parent), name);
}

}  // namespace

using namespace widgets;

TabInfo::TabInfo(SettingsFrame& frame) : SettingsTab(PageId::Info, frame, "tabInfo") {
  auto* title = label(this, "t_title", "Tarvik");
  QFont big = title->font();
  big.setPixelSize(28);
  big.setBold(true);
  title->setFont(big);
  title->setAlignment(Qt::AlignCenter);
  t_version_ = label(this, "t_version", "");
  t_version_->setText(QString::fromUtf8("ВЕРСИЯ ") + QString::fromUtf8(TARVIK_VERSION));
  t_version_->setAlignment(Qt::AlignCenter);
  auto* about = label(this, "s_about", "учёт времени и стоимости сетевых соединений");
  about->setAlignment(Qt::AlignCenter);

  auto* column = new QVBoxLayout(this);
  column->addStretch();
  column->addWidget(title);
  column->addWidget(t_version_);
  column->addWidget(about);
  column->addStretch();
  column->addWidget(buildServer(), 0, Qt::AlignHCenter);
  column->addStretch();

  t_blink_ = new QTimer(this);
  t_blink_->setObjectName("t_blink");
  t_blink_->setInterval(kBlinkIntervalMs);
  connect(t_blink_, &QTimer::timeout, this, [this] { blinkStep(); });
}

QWidget* TabInfo::buildServer() {
  p_server_ = new QWidget(this);
  p_server_->setObjectName("p_server");
  w_hlp_ = link(p_server_, "w_hlp", "[ справка ]");
  w_manual_ = link(p_server_, "w_manual", "[ руководство  с  начала ]");
  w_hlp_a_ = link(p_server_, "w_hlp_a", "[справка -> скачать]");
  w_hlp_z_ = link(p_server_, "w_hlp_z", "[справка -> скачать]");
  auto* column = new QVBoxLayout(p_server_);
  for (LinkLabel* l : {w_hlp_, w_manual_, w_hlp_a_, w_hlp_z_}) {
    l->setAlignment(Qt::AlignCenter);
    column->addWidget(l);
  }
  connect(w_hlp_, &LinkLabel::clicked, this, [this] { frame_.host().openHelp(kHelpContents); });
  connect(w_manual_, &LinkLabel::clicked, this, [this] { frame_.host().openHelp(kHelpStart); });
  connect(w_hlp_a_, &LinkLabel::clicked, this,
          [this] { frame_.host().openExternal(kHelpDownloadServer0); });
  connect(w_hlp_z_, &LinkLabel::clicked, this,
          [this] { frame_.host().openExternal(kHelpDownloadServer1); });
  return p_server_;
}

void TabInfo::prepareShow() {
  helpFound_ = frame_.host().helpAvailable();
  w_hlp_->setVisible(helpFound_);
  w_manual_->setVisible(helpFound_);
  w_hlp_a_->setVisible(!helpFound_);
  w_hlp_z_->setVisible(!helpFound_);
  p_server_->setFixedHeight(helpFound_ ? kServerHeightWithHelp : kServerHeightWithoutHelp);
}

void TabInfo::blinkDownloadLinks() {
  blinkTicks_ = 0;
  t_blink_->start();
}

void TabInfo::blinkStep() {
  ++blinkTicks_;
  colourDownloadLinks(blinkTicks_ % 2 == 1 ? Qt::red : Qt::blue);
  if (blinkTicks_ >= kBlinkTicks) t_blink_->stop();
}

void TabInfo::colourDownloadLinks(Qt::GlobalColor colour) {
  for (LinkLabel* l : {w_hlp_a_, w_hlp_z_}) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
  }
}

}  // namespace tarvik
