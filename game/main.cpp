// Process entry of TUMBREL 2009: turns argv back into the command line the game entry expects
// and hands over to the program frame, which never returns.
#include "core/program.h"

namespace {

// The game's main routine joins here; until then the program starts and ends cleanly.
void GameMainRoutine() {}

}  // namespace

int main(int argc, char** argv) {
    std::string commandLine = CommandLineFromArguments(argc, argv);
    GameEntry(ArgumentText(commandLine), GameMainRoutine);
}
