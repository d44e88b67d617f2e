// k52cli: the generator's engine from the command line.
#include "cli/Commands.h"

int main(int argc, char** argv) {
    return k52::cli::RunCommandLine(argc, argv);
}
