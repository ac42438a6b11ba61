// Calling the program's routines by name, and the debug output that reports a failed call.
// Depends on rt_string.h. The program hands its routine table over once at start-up.
#pragma once
#include "core/rt_string.h"

struct RoutineEntry {
    void (*routine)();
    const char* name;  // exactly as written in the program's source
};

// The table ends with {nullptr, nullptr}; it must outlive every call.
void SetRoutineTable(const RoutineEntry* table);
// 1 when a routine of exactly that name (case matters) was found and called, else 0.
double CallByName(const char* name);
double CallByName(const RtString& name);
// Sends "TX" + text to an attached debugger (on Linux: standard error while a tracer is attached).
void DebugOutput(const RtString& text);
bool DebuggerAttached();
