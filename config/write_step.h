#pragma once

namespace tarvik {

// Every change the program makes to a file on disk (a replacement, an append to a log, the
// removal of a journal) passes here just before it happens. A test installs a hook that ends
// the process at the step of its choice, to see what a kill at exactly that moment leaves.
using WriteStepHook = void (*)();
void setWriteStepHook(WriteStepHook hook);
void writeStep();

}  // namespace tarvik
