#pragma once

#include <ctime>

namespace tarvik {

// The clock file times are stamped from (the kernel's coarse clock), in nanoseconds.
long long fileClockNs();

// Whether a copy of a file read when the file clock showed `takenAtNs` is still the file's
// contents as long as its last-change time stays `changed`. True once that clock had moved
// past the change: any later change is stamped later. Stamps in whole hundredths of a second
// come from file systems that keep no finer times (FAT keeps two seconds), so those need two
// seconds between.
bool stampProvesCopy(const timespec& changed, long long takenAtNs);

}  // namespace tarvik
