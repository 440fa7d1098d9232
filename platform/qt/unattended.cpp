#include "platform/qt/unattended.h"

#include <QTimer>

namespace tarvik {

void answerUnattended(QDialog& dialog, std::function<void()> defaultAnswer) {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("TARVIK_TEST_DISMISS_MS", &ok);
  if (ok && ms >= 0) QTimer::singleShot(ms, &dialog, std::move(defaultAnswer));
}

}  // namespace tarvik
