#include "tests/support/runtime_exit.h"

#include "core/errors.h"

int CatchRuntimeExit(const std::function<void()>& body) {
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
