// libFuzzer target: a fuzzed WAV image.
#include <cstdio>
#include <cstdlib>

#include "fuzz/wav_reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = fuzzcheck::CheckWavRead(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "wav reader: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
