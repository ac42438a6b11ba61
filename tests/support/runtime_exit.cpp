#include "tests/support/runtime_exit.h"

#include "core/errors.h"

namespace {
void ThrowRuntimeExit(int status) { throw RuntimeExit{status}; }
}  // namespace

int CatchRuntimeExit(const std::function<void()>& body) {
    ExitHandler previous = SetExitHandler(ThrowRuntimeExit);
    int status = -1;
    try {
        body();
    } catch (const RuntimeExit& exit) {
        status = exit.status;
    } catch (...) {
        SetExitHandler(previous);
        throw;
    }
    SetExitHandler(previous);
    return status;
}
