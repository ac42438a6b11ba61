// A tiny program on the real program frame: reads "./Maps/probe.bin" beside the program, then
// indexes past the end of a 300-cell array, so it ends with error 3 or error 9.
#include "core/file_channels.h"
#include "core/program.h"
#include "core/rt_array.h"

namespace {

RtArray Cave;

void ProbeMain() {
    double value = 0;
    FileOpen(1, "./Maps/probe.bin", 1);
    FileReadByte(1, value);
    ArrayDim(Cave, 300);
    Cave[300] = value;
}

}  // namespace

int main(int argc, char** argv) { GameEntry(ArgumentText(CommandLineFromArguments(argc, argv)), ProbeMain); }
