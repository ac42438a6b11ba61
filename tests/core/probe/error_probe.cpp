// A tiny program on the real program frame that ends the way its argument text asks:
// "index" (error 9), "cwd" (reads ./Maps/probe.bin beside the program), anything else normally.
#include "core/file_channels.h"
#include "core/program.h"
#include "core/rt_array.h"

namespace {

RtArray Cave;

void ProbeMain() {
    if (gCommandLine == "index") {
        ArrayDim(Cave, 300);
        Cave[300] = 1;
    } else if (gCommandLine == "cwd") {
        double value = 0;
        FileOpen(1, "./Maps/probe.bin", 1);
        FileReadByte(1, value);
    }
}

}  // namespace

int main(int argc, char** argv) { GameEntry(ArgumentText(CommandLineFromArguments(argc, argv)), ProbeMain); }
