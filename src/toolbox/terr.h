// Trace output: time-stamped lines filtered by a trace level. Off by default
// (level 0, no stream); the operations are still called on their paths.
#pragma once

#include <cstdint>
#include <cstdio>

struct TraceSettings {
    std::int32_t level = 0;
    std::FILE *stream = nullptr;
};
extern TraceSettings traceSettings;

int traceLine(const char *text);
void traceError(const char *call, const char *file, std::int32_t line, std::int32_t code);
void traceExec(const char *call, const char *file, std::int32_t line);
