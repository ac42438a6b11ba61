// Test helpers around the runtime's one exit path: run code and catch RuntimeErrorExit as the
// exit status it would have ended the process with. Depends on core/errors.h and GoogleTest.
#pragma once
#include <functional>

#include <gtest/gtest.h>

#include "core/errors.h"

// Runs `body` with an exit handler that throws; returns the exit status, or -1 when the body
// finished without reaching RuntimeErrorExit. The previous handler is restored either way.
inline int CatchRuntimeExit(const std::function<void()>& body) {
    struct Restore {
        ExitHandler previous;
        ~Restore() { SetExitHandler(previous); }
    } restore{SetExitHandler([](int status) { throw RuntimeExit{status}; })};
    try {
        body();
    } catch (const RuntimeExit& exit) {
        return exit.status;
    }
    return -1;
}

#define EXPECT_RUNTIME_ERROR(statement, number) \
    EXPECT_EQ(CatchRuntimeExit([&] { statement; }), (number)) << "for: " #statement
#define EXPECT_NO_RUNTIME_EXIT(statement) \
    EXPECT_EQ(CatchRuntimeExit([&] { statement; }), -1) << "for: " #statement
