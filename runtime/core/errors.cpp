// The error state, the one exit path every end of the program takes, and "ErrorLog.txt".
#include "core/errors.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/clock.h"
#include "core/rt_string.h"
#include "core/program.h"

ErrorState gErrorState;

namespace {

ExitHandler gExitHandler = nullptr;
bool gCleaningUp = false;
std::string gIndexErrorHint;

constexpr int kLogAttempts = 5;
constexpr double kLogRetryMs = 100;

const char* ErrorMeaning(int number) {
    switch (number) {
        case ErrFileTransfer: return "file transfer failed";
        case ErrArgumentRange: return "argument out of range";
        case ErrIndexRange: return "index out of range";
        case ErrNoDataLeft: return "no data item left";
        default: return "unknown error";
    }
}

// Exit statuses are one byte; an error number that does not fit still must not read as success.
int ExitStatusOf(double number) {
    int status = TruncInt32(number);
    if (status == 0) return 0;
    return status > 0 && status < 256 ? status : 1;
}

void WriteErrorReport() {
    auto asInteger = [](double x) { return std::to_string(TruncInt32(x)); };
    AppendErrorLog("-End On Line");
    AppendErrorLog(asInteger(gErrorState.number));
    AppendErrorLog(asInteger(gErrorState.line - 1));
    AppendErrorLog(asInteger(gErrorState.currentLine));
    AppendErrorLog(asInteger(gErrorState.currentModule));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Error state

double RecordError(double number) {
    gErrorState.number = number;
    gErrorState.line = gErrorState.currentLine;
    gErrorState.detail.clear();
    return number;
}

double RecordErrorDetail(double number, const std::string& detail) {
    RecordError(number);
    gErrorState.detail = detail;
    return number;
}

void SetSourceLine(double module, double line) {
    gErrorState.currentModule = module;
    gErrorState.currentLine = line;
}

void ResetErrorState() { gErrorState = ErrorState{}; }

void SetIndexErrorHint(const std::string& hint) { gIndexErrorHint = hint; }

// ---------------------------------------------------------------------------------------------
// The exit path

std::string RuntimeErrorLine(const char* programName, int number, const std::string& detail) {
    return std::string(programName) + ": runtime error " + std::to_string(number) + ": " +
           (detail.empty() ? ErrorMeaning(number) : detail);
}

ExitHandler SetExitHandler(ExitHandler handler) {
    ExitHandler previous = gExitHandler;
    gExitHandler = handler;
    return previous;
}

void RuntimeErrorExit() {
    // An error raised by the clean-up itself must not start the clean-up again.
    if (!gCleaningUp) {
        gCleaningUp = true;
        EndOfProgramCleanup();
        gCleaningUp = false;
    }
    if (gSettings.keepForeground != 0) WriteErrorReport();

    int number = TruncInt32(gErrorState.number);
    if (number != 0) {
        std::string detail = gErrorState.detail;
        if (number == ErrIndexRange && !gIndexErrorHint.empty())
            detail = (detail.empty() ? ErrorMeaning(number) : detail) + " (" + gIndexErrorHint + ")";
        std::string line = RuntimeErrorLine(program_invocation_short_name, number, detail);
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    std::fflush(stdout);
    std::fflush(stderr);
    int status = ExitStatusOf(gErrorState.number);
    if (gExitHandler != nullptr) gExitHandler(status);
    std::exit(status);
}

void EndProgram() {
    RecordError(ErrNormalEnd);
    RuntimeErrorExit();
}

std::string PrintableExcerpt(const std::string& bytes, size_t longest) {
    std::string text = bytes.size() > longest ? bytes.substr(0, longest) + "..." : bytes;
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// The temporary directory and the error log

std::string TempDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    std::string directory = (tmp != nullptr && tmp[0] != 0) ? tmp : "/tmp";
    if (directory.back() != '/') directory += '/';
    return directory;
}

std::string ErrorLogPath() { return TempDirectory() + "ErrorLog.txt"; }

int OpenPrivateFile(const std::string& path, int openFlags) {
    // O_NONBLOCK keeps a planted FIFO from hanging the open; the checks below refuse it.
    int fd = open(path.c_str(), openFlags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

void AppendErrorLog(const std::string& line) {
    std::string path = ErrorLogPath();
    std::string text = line + "\r\n";
    for (int attempt = 0; attempt < kLogAttempts; ++attempt) {
        if (attempt > 0) ClockSleepMs(kLogRetryMs);
        int fd = OpenPrivateFile(path, O_WRONLY | O_CREAT | O_APPEND);
        if (fd < 0) continue;
        // Best effort: a failed write is swallowed like a failed open.
        ssize_t written = write(fd, text.data(), text.size());
        (void)written;
        close(fd);
        return;
    }
}

void DeleteErrorLog() { unlink(ErrorLogPath().c_str()); }
