#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The system log: one line per message on standard error, prefixed like a
// system log line ("2026-12-08 01:55:21.123 zorbel[1234] message").
void log(std::string_view message);

// Every line logged since the process started (or since clearLogCapture),
// without the prefix; the headless driver and the tests read it.
std::vector<std::string> logLines();
bool logContains(std::string_view text);
void clearLogCapture();
// Stops the lines from reaching standard error (tests that expect failures).
void setLogQuiet(bool quiet);

} // namespace platform
