// k52cli: the generator's engine from the command line.
#include <signal.h>

#include "cli/Commands.h"
#include "i18n/Translate.h"

int main(int argc, char** argv) {
    // A reader that went away (stderr into `head`) must not end a transfer halfway; writes just fail.
    signal(SIGPIPE, SIG_IGN);
    k52::SetLanguage(k52::LanguageFromEnvironment());
    return k52::cli::RunCommandLine(argc, argv);
}
