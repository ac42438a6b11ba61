// The error state, the single runtime-error exit path, and the error log "ErrorLog.txt".
// Depends on nothing but the program frame's clean-up (program.h).
// Every way out of the program ends in RuntimeErrorExit.
#pragma once
#include <string>

enum RuntimeErrorNumber {
    ErrNormalEnd = 0,
    ErrFileTransfer = 3,
    ErrArgumentRange = 7,
    ErrIndexRange = 9,
    ErrNoDataLeft = 20,
};

struct ErrorState {
    double number = 0;
    double line = 0;
    double currentLine = 0;
    double currentModule = 0;
    std::string detail;  // one human-readable clause for the stderr line, e.g. "cannot read ./Maps/Data.bin (file too short)"
};
extern ErrorState gErrorState;

double RecordError(double number);
double RecordErrorDetail(double number, const std::string& detail);
void SetSourceLine(double module, double line);
void ResetErrorState();
// A clause added to the line of an index error while it is set: which damaged file the indices
// came from (the level being played). Empty clears it.
void SetIndexErrorHint(const std::string& hint);

// Runs the end-of-program clean-up, then hands the exit status to the exit handler.
// Status 0 for a normal end; a runtime error exits with its number and one stderr line.
[[noreturn]] void RuntimeErrorExit();
[[noreturn]] void EndProgram();

// The exit handler ends the process; tests install one that throws RuntimeExit instead.
struct RuntimeExit {
    int status;
};
using ExitHandler = void (*)(int status);
ExitHandler SetExitHandler(ExitHandler handler);  // nullptr restores the real exit; returns the previous one

// The one line for standard error, e.g. "tumbrel: runtime error 9: index 300 out of range".
std::string RuntimeErrorLine(const char* programName, int number, const std::string& detail);

// Bytes from a file as they may be shown on a terminal: control bytes become '?', and text
// longer than `longest` bytes is cut there and marked with "...".
std::string PrintableExcerpt(const std::string& bytes, size_t longest = std::string::npos);

// The shared temporary directory: $TMPDIR when set, else /tmp (with a trailing "/").
std::string TempDirectory();
// Appends one line ("\r\n"-terminated) to ErrorLog.txt; up to 5 tries 100 ms apart; never follows a symlink.
void AppendErrorLog(const std::string& line);
void DeleteErrorLog();
std::string ErrorLogPath();
// Opens a file in a directory other users can write to: never through a symbolic link, created
// private to this user (0600), and only when it is a regular file of this user. -1 on failure.
int OpenPrivateFile(const std::string& path, int openFlags);
