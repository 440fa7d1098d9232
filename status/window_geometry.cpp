#include "status/window_geometry.h"

#include <algorithm>

#include "config/keys.h"

namespace tarvik {

WindowPoint placeWindow(int origin, int x, int y, ScreenSize screen) {
  if (origin == 1) return {x, y};
  return {screen.width - x, screen.height - y};
}

WindowPoint placeWindowInside(int origin, int x, int y, WindowSize window, ScreenSize screen,
                              ScreenArea area) {
  const WindowPoint p = placeWindow(origin, x, y, screen);
  return {std::clamp(p.x, area.x, std::max(area.x, area.x + area.width - window.width)),
          std::clamp(p.y, area.y, std::max(area.y, area.y + area.height - window.height))};
}

ScreenSize positionLimits(ScreenSize screen) {
  return {std::max(0, screen.width - global_keys::kScreenMargin),
          std::max(0, screen.height - global_keys::kScreenMargin)};
}

WindowPoint storedPosition(int origin, WindowPoint topLeft, ScreenSize screen) {
  if (origin == 1) return topLeft;
  return {screen.width - topLeft.x, screen.height - topLeft.y};
}

WindowPoint dragPosition(WindowPoint cursor, WindowPoint grab, int windowWidth, int windowHeight,
                         ScreenArea area, bool snapping) {
  const int d = snapping ? kSnapDistance : 0;
  const int right = area.x + area.width - windowWidth;
  const int bottom = area.y + area.height - windowHeight;
  int left = cursor.x - grab.x;
  int top = cursor.y - grab.y;
  if (left > right - d) left = right;
  if (top > bottom - d) top = bottom;
  if (left < area.x + d) left = area.x;
  if (top < area.y + d) top = area.y;
  return {left, top};
}

int targetOpacity(bool transparent, int opacityPercent) {
  if (!transparent) return kOpaque;
  const int percent = std::clamp(opacityPercent, 0, kMaxOpacityPercent);
  return (100 - percent) * kOpaque / 100;
}

FadeStep fadeInStep(int level, bool transparent, int target) {
  level += kFadeStep;
  if (transparent && level >= target) return {target, true};
  if (level > kOpaque - 1) return {kOpaque, true};
  return {level, false};
}

FadeStep fadeOutStep(int level) {
  level -= kFadeStep;
  if (level <= 0) return {0, true};
  return {level, false};
}

}  // namespace tarvik
