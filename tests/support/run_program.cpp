#include "tests/support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/temp_files.h"

namespace {

[[noreturn]] void ExecChild(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory, const std::vector<std::string>& environment,
                            const ScopedTempDir& capture) {
    int out = open(capture.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(capture.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || dup2(in, 0) < 0) _exit(126);
    if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
    // The program opens a GL context, and Mesa keeps allocations to the end of the process that
    // the leak checker cannot attribute; the tests' own processes keep their leak checks.
    const char* asan = getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
    for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingDirectory, double timeoutSeconds,
                      const std::vector<std::string>& extraEnvironment) {
    ProgramRun run;
    ScopedTempDir capture;
    pid_t child = fork();
    if (child < 0) return run;
    if (child == 0) ExecChild(program, arguments, workingDirectory, extraEnvironment, capture);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    pid_t done;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        run.timedOut = true;
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    } else if (done == child && WIFEXITED(status)) {
        run.exitStatus = WEXITSTATUS(status);
    }
    run.out = ReadFileText(capture.File("out"));
    run.err = ReadFileText(capture.File("err"));
    return run;
}

std::string BuildDirectory() {
    const char* directory = std::getenv("TUMBREL_BUILD_DIR");
    return directory != nullptr && directory[0] != 0 ? directory : ".";
}

std::string SourceDirectory() {
    const char* directory = std::getenv("TUMBREL_SOURCE_DIR");
    return directory != nullptr && directory[0] != 0 ? directory : TUMBREL_SOURCE_TREE;
}
