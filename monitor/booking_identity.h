#pragma once

#include <string>
#include <string_view>

#include "config/number_text.h"
#include "config/program_files.h"
#include "platform/traffic.h"

namespace tarvik {

class EventLog;

// Every booking of a connection that a crash journal guards carries an identity, stored in the
// marked journal. The statistics file keeps the identity booked last ([Olm:TK] "Booked"), in
// the same replacement as the counters, so a start after a kill can tell whether the
// interrupted booking's statistics were written and books them exactly once.

// The identity booked last, or "" when none was.
std::string lastBookedIdentity(const ProgramFiles& files);
// A fresh identity: one more than the last booked one, or than `after` (the identity of a
// booking still waiting to be written) when that is larger.
std::string nextBookingIdentity(const ProgramFiles& files, std::string_view after = {});

// Books the connection into the statistics and stores `identity` as booked, as one
// replacement of the statistics file. Does nothing and returns false when `identity` is the
// one booked last. Throws IniWriteError and leaves the file as it was when it cannot write.
bool bookStatisticsOnce(const ProgramFiles& files, NumberFormat format, EventLog& log,
                        const std::string& identity, std::string_view entry, int weekday,
                        int seconds, float cost, const TrafficBytes& volume = {});

}  // namespace tarvik
