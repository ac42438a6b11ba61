#include "script_reader.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

void ScriptLine::fail(const std::string& what) const {
    throw ScriptError(file + ":" + std::to_string(number) + ": " + what);
}

const std::string& ScriptLine::word(size_t i) const {
    if (i >= words.size()) fail("'" + words[0] + "' needs " + std::to_string(i) + " argument(s)");
    return words[i];
}

double ParseNumber(const ScriptLine& line, const std::string& text) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) line.fail("'" + text + "' is not a number");
    return value;
}

double ScriptLine::number_at(size_t i) const { return ParseNumber(*this, word(i)); }

int ScriptLine::integer_at(size_t i) const {
    double value = number_at(i);
    if (value != std::floor(value) || std::fabs(value) > 1e6) fail("'" + word(i) + "' is not a whole number");
    return int(value);
}

std::vector<ScriptLine> ReadScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw ScriptError("cannot open " + path);
    std::vector<ScriptLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        size_t hash = text.find('#');
        if (hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        ScriptLine line{path, number, {}};
        for (std::string word; words >> word;) line.words.push_back(word);
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    return lines;
}
