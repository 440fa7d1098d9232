#pragma once

#include <QFrame>
#include <QWidget>
#include <array>

#include "status/qt/skin_view.h"
#include "status/skin_draft.h"

namespace tarvik {

// A control point's marker: a small panel the user drags over the preview.
class PointMarker : public QFrame {
  Q_OBJECT

 public:
  PointMarker(int number, QWidget* parent);
  int number() const { return number_; }
  // The point the marker stands for (its centre).
  QPoint point() const;
  void placeAt(QPoint point);

 signals:
  void pressed(int number);
  void dropped(int number, QPoint point);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int number_;
  QPoint grab_;  // where in the marker the mouse took hold
  bool dragging_ = false;
};

// The skin editor's preview (p_view): one mode of the skin drawn by the status window's own
// skin view, so the editor shows what the window will show, with the sixteen control point
// markers x_1 ... x_16 above it.
class SkinPreview : public QWidget {
  Q_OBJECT

 public:
  explicit SkinPreview(QWidget* parent);

  SkinView& view() { return view_; }
  QWidget* surface() const { return surface_; }
  PointMarker* marker(int number) const { return markers_[static_cast<std::size_t>(number - 1)]; }

  // Draws `layout`. An outline not drawn yet (all points at one spot) shows the face's box
  // instead, so that the objects can be placed before the outline is.
  void showLayout(const SkinLayout& layout, bool switchShown);

 signals:
  void markerPressed(int number);
  void markerDropped(int number, QPoint point);

 private:
  QWidget* surface_;
  SkinView view_;
  std::array<PointMarker*, kDraftPoints> markers_{};
};

}  // namespace tarvik
