// k52cli: the generator's engine from the command line.
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "i18n/Translate.h"
#include "util/platform/System.h"

int main(int argc, char** argv) {
    // A reader that went away (stderr into `head`) must not end a transfer halfway; writes just fail.
    k52::platform::PrepareStandardStreams();
    k52::SetLanguage(k52::LanguageFromEnvironment());
    const std::vector<std::string> args = k52::platform::Utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& arg : args) pointers.push_back(arg.c_str());
    pointers.push_back(nullptr);
    return k52::cli::RunCommandLine(static_cast<int>(args.size()), pointers.data());
}
