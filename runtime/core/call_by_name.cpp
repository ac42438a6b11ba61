#include "core/call_by_name.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

const RoutineEntry kEmptyTable[] = {{nullptr, nullptr}};
const RoutineEntry* gRoutineTable = kEmptyTable;

}  // namespace

void SetRoutineTable(const RoutineEntry* table) { gRoutineTable = table ? table : kEmptyTable; }

double CallByName(const char* name) {
    for (const RoutineEntry* entry = gRoutineTable; entry->routine; ++entry) {
        if (std::strcmp(name, entry->name) == 0) {
            entry->routine();
            return 1;
        }
    }
    RtString message;
    StrFromChars(message, "CALLBYNAME \"");
    StrAppendChars(message, name);
    StrAppendChars(message, "\" *** failed ***\n");
    DebugOutput(message);
    StrRelease(message);
    return 0;
}

double CallByName(const RtString& name) { return CallByName(StrChars(name)); }

// A tracer (gdb, strace) shows up as a non-zero TracerPid.
bool DebuggerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) return std::strtol(line.c_str() + 10, nullptr, 10) != 0;
    }
    return false;
}

void DebugOutput(const RtString& text) {
    if (!DebuggerAttached()) return;
    std::fprintf(stderr, "TX%s", StrChars(text));
    std::fflush(stderr);
}
