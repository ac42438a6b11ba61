// Test helper: runs a program as a child process with a time limit and collects its exit
// status and output. Depends on POSIX only.
#pragma once
#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not exit normally (signal or time limit)
    bool timedOut = false;
    std::string out;
    std::string err;
};

// `workingDirectory` empty keeps the current one; `extraEnvironment` holds "NAME=value" entries.
// Under AddressSanitizer the child runs without leak checking (GL drivers keep memory to the end).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingDirectory = "", double timeoutSeconds = 60,
                      const std::vector<std::string>& extraEnvironment = {});

// The build and source directories CTest names in TUMBREL_BUILD_DIR and TUMBREL_SOURCE_DIR; else
// the current directory and the tree the tests were built from.
std::string BuildDirectory();
std::string SourceDirectory();
