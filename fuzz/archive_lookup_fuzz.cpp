// libFuzzer target: a fuzzed file as the media archive.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/archive_lookup_check.h"

namespace {

std::string MakeDirectory(const char* pattern) {
    std::string path = std::string(std::getenv("FUZZ_SCRATCH") ? std::getenv("FUZZ_SCRATCH") : "/tmp") + pattern;
    if (mkdtemp(path.data()) == nullptr) std::abort();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string work = MakeDirectory("/sbx-fuzz-work-XXXXXX");
    static const std::string temporary = [] {
        std::string path = MakeDirectory("/sbx-fuzz-tmp-XXXXXX");
        setenv("TMPDIR", path.c_str(), 1);
        return path;
    }();
    const std::string problem = fuzzcheck::CheckArchiveLookup(data, size, work, temporary);
    if (!problem.empty()) {
        std::fprintf(stderr, "archive lookup: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
