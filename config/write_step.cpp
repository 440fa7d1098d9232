#include "config/write_step.h"

namespace tarvik {

namespace {
WriteStepHook hook = nullptr;
}  // namespace

void setWriteStepHook(WriteStepHook h) {
  hook = h;
}

void writeStep() {
  if (hook) hook();
}

}  // namespace tarvik
