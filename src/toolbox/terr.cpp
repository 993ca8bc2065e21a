// Trace lines, written only when a level and a stream are set.
#include "terr.h"

#include "tbas.h"

TraceSettings traceSettings;

static bool tracing(std::int32_t level) { return traceSettings.level >= level && traceSettings.stream != nullptr; }

int traceLine(const char *text) {
    if (tracing(1)) std::fprintf(traceSettings.stream, "%s : %s\n", timeStamp(), text);
    return 0;
}

void traceError(const char *call, const char *file, std::int32_t line, std::int32_t code) {
    if (tracing(3)) {
        std::fprintf(traceSettings.stream, "%s : Error %i executing %s at %s:#%li\n", timeStamp(),
                     static_cast<int>(code), call, file, static_cast<long>(line));
    }
}

void traceExec(const char *call, const char *file, std::int32_t line) {
    if (tracing(5)) {
        std::fprintf(traceSettings.stream, "%s : Executing %s at %s:#%li\n", timeStamp(), call, file,
                     static_cast<long>(line));
    }
}
