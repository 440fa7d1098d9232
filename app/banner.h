#pragma once

#include <string>
#include <string_view>

#include "config/program_files.h"
#include "platform/event_log.h"

namespace tarvik {

inline constexpr std::string_view kVersion = "4.0";
inline constexpr std::string_view kInstanceId = "TRK.2.4.0";
// Name of the lock that keeps one instance per user session.
inline constexpr std::string_view kInstanceLockName = "TRK_2_4_x";
inline constexpr std::string_view kApplicationTitle = "Tarvik";
inline constexpr std::string_view kEventLogHeader = "Tarvik «4» detailed log";

inline constexpr std::string_view kAlreadyRunningMessage = "Программа \"Tarvik\" уже запущена!";

// The message shown when the log cannot be written at start-up (unless "nogo.err" exists).
std::string writeProblemMessage();

// The first command-line argument, compared exactly (case and whole text).
enum class StartKind { Ordinary, Auto, Reinitialize, Reboot };
StartKind classifyArgument(std::string_view firstArgument);
// "/auto", "/reinitialize" and "/reboot" are starts the program (or its autostart) makes
// itself; they do not ask whether another instance runs.
bool skipsInstanceCheck(StartKind kind);

// The " System: " banner line: the operating system and its kernel release.
std::string systemLine();

// The entry point's work before any window exists. prepareEventLog creates the log with its
// header when it is missing and tells whether the write-problem message must be shown (log
// not writable and no "nogo.err"); writeStartBanner then writes the stamped banner, or only
// " ReInitializing..." for a "/reinitialize" start.
bool prepareEventLog(const ProgramFiles& files);
void writeStartBanner(const ProgramFiles& files, EventLog& log, std::string_view firstArgument,
                      std::string_view systemText);

// Log lines of a refused second instance (no stamp).
void logInstanceRefused(EventLog& log);
// Log lines of an exception that reached the top level; `id` identifies the exception.
void logTopLevelException(EventLog& log, std::string_view id, std::string_view message);

}  // namespace tarvik
