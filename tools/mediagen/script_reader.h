// The line format shared by the media sources: one statement a line, words split by blanks,
// "#" starts a comment. Parse errors are thrown as ScriptError with "file:line: what is wrong".
// Depends on nothing. Owns no state.
#pragma once
#include <stdexcept>
#include <string>
#include <vector>

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ScriptLine {
    std::string file;
    int number = 0;
    std::vector<std::string> words;

    [[noreturn]] void fail(const std::string& what) const;
    const std::string& word(size_t i) const;  // fails with a message when the word is missing
    double number_at(size_t i) const;         // the word as a number, or a message why not
    int integer_at(size_t i) const;
};

// Reads every non-empty line; throws ScriptError when the file cannot be read.
std::vector<ScriptLine> ReadScript(const std::string& path);
double ParseNumber(const ScriptLine& line, const std::string& text);
