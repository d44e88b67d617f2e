// k52cli: the generator's engine from the command line.
#include "cli/Commands.h"
#include "i18n/Translate.h"

int main(int argc, char** argv) {
    k52::SetLanguage(k52::LanguageFromEnvironment());
    return k52::cli::RunCommandLine(argc, argv);
}
