#include "settings/qt/skin_preview.h"

#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "platform/user.h"

namespace tarvik {
namespace {

constexpr int kMarkerSize = 5;
// Markers stay on the area the point spin boxes can reach.
constexpr int kPointMax = kDraftExtentMax;

QPoint clampPoint(QPoint p) {
  return {std::clamp(p.x(), 0, kPointMax), std::clamp(p.y(), 0, kPointMax)};
}

}  // namespace

PointMarker::PointMarker(int number, QWidget* parent) : QFrame(parent), number_(number) {
  setObjectName(QStringLiteral("x_%1").arg(number));
  setFixedSize(kMarkerSize, kMarkerSize);
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(255, 40, 40));
  p.setColor(QPalette::WindowText, Qt::black);
  setPalette(p);
  setCursor(Qt::SizeAllCursor);
  setToolTip(QStringLiteral("%1").arg(number));
}

QPoint PointMarker::point() const {
  return pos() + QPoint(kMarkerSize / 2, kMarkerSize / 2);
}

void PointMarker::placeAt(QPoint point) {
  move(point - QPoint(kMarkerSize / 2, kMarkerSize / 2));
}

void PointMarker::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
  dragging_ = true;
  grab_ = event->position().toPoint();
  raise();
  emit pressed(number_);
}

void PointMarker::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QFrame::mouseMoveEvent(event);
  const QPoint topLeft = mapToParent(event->position().toPoint()) - grab_;
  placeAt(clampPoint(topLeft + QPoint(kMarkerSize / 2, kMarkerSize / 2)));
}

void PointMarker::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(event);
  dragging_ = false;
  emit dropped(number_, point());
}

SkinPreview::SkinPreview(QWidget* parent)
    : QWidget(parent), surface_(new QWidget(this)), view_(*surface_, nullptr) {
  setObjectName("p_view");
  surface_->setObjectName("p_skin");
  // The window's own background colour shows where the face does not cover the outline.
  surface_->setAutoFillBackground(true);
  surface_->setPalette(QPalette(QColor(212, 208, 200)));
  surface_->move(0, 0);
  for (int n = 1; n <= kDraftPoints; ++n) {
    auto* m = new PointMarker(n, this);
    markers_[static_cast<std::size_t>(n - 1)] = m;
    connect(m, &PointMarker::pressed, this, &SkinPreview::markerPressed);
    connect(m, &PointMarker::dropped, this, &SkinPreview::markerDropped);
  }
  view_.setField(DisplayField::Time, QStringLiteral("00:00:00"));
  view_.setField(DisplayField::Money, QStringLiteral("0,0000"));
  view_.setField(DisplayField::Currency, QStringLiteral("$"));
  view_.setField(DisplayField::Tariff, QStringLiteral("Tariff"));
  view_.setField(DisplayField::Entry, QStringLiteral("Default"));
}

void SkinPreview::showLayout(const SkinLayout& layout, bool switchShown) {
  SkinLayout shown = layout;
  if (shown.width <= 0 || shown.height <= 0) {
    const SkinImage& face = layout.image(SkinImageId::Face);
    const int w = std::max(1, face.w), h = std::max(1, face.h);
    shown.points = {{0, 0}, {0, h}, {w, h}, {w, 0}};
    shown.width = w;
    shown.height = h;
  }
  view_.apply(shown, switchShown);
  for (std::size_t i = 0; i < markers_.size(); ++i) {
    const SkinPoint p = i < layout.points.size() ? layout.points[i] : SkinPoint{};
    markers_[i]->placeAt(QPoint(p.x, p.y));
    markers_[i]->raise();
  }
}

}  // namespace tarvik
