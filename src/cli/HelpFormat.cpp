// Help and usage from CLI11's declarations.
#include "cli/HelpFormat.h"

#include "cli/CliSupport.h"
#include "i18n/Translate.h"

namespace k52::cli {
namespace {

// CLI11's own messages and words, marked here so that they are shown in the user's language too.
[[maybe_unused]] constexpr const char* kCli11Messages[] = {
    K52_EN("%1 is required"),
    K52_EN("%1 excludes %2"),
    K52_EN("%1: %2 required %3 missing"),
    K52_EN("The following argument was not expected: %1"),
    K52_EN("The following arguments were not expected: %1"),
};
constexpr const char* kCli11Labels[] = {
    K52_EN("Usage"),    K52_EN("OPTIONS"), K52_EN("SUBCOMMAND"), K52_EN("Positionals"),
    K52_EN("REQUIRED"), K52_EN("TEXT"),    K52_EN("Excludes"),
};

class HelpFormatter : public CLI::Formatter {
  public:
    HelpFormatter() {
        for (const char* label : kCli11Labels) this->label(label, Localize(label));
    }
    // Ideographs take two columns for their three bytes: the padding counts columns, not bytes.
    std::string make_option(const CLI::Option* opt, bool positional) const override {
        const std::string name = "  " + make_option_name(opt, positional) + make_option_opts(opt);
        const std::string description = make_option_desc(opt);
        const std::string indent(column_width_, ' ');
        std::string out = Padded(name, column_width_);
        if (!description.empty()) {
            if (TextWidth(name) >= column_width_) out += "\n" + indent;
            for (char c : description) out += c == '\n' ? "\n" + indent : std::string(1, c);
        }
        return out + "\n";
    }
};

std::string OptionUsage(const CLI::Option& opt) {
    if (opt.get_positional()) {
        const std::string name = opt.get_name();
        return opt.get_required() ? name : "[" + name + "]";
    }
    std::string text =
        opt.get_lnames().empty() ? "-" + opt.get_snames().front() : "--" + opt.get_lnames().front();
    if (opt.get_type_size() != 0 && !opt.get_type_name().empty()) text += " " + opt.get_type_name();
    text = opt.get_required() ? text : "[" + text + "]";
    if (opt.get_multi_option_policy() == CLI::MultiOptionPolicy::TakeAll) text += "...";
    return text;
}

}  // namespace

void LocalizeHelp(CLI::App& app) {
    app.formatter(std::make_shared<HelpFormatter>());
    // The groups and the help flag's words are given before the commands copy them.
    app.group(Localize("Subcommands"));
    app.option_defaults()->group(Localize("Options"));
    app.set_help_flag("-h,--help", Localize("Print this help message and exit"));
}

void GroupHelpFlags(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands({})) {
        if (CLI::Option* help = sub->get_help_ptr()) help->group(Localize("Options"));
        GroupHelpFlags(*sub);
    }
}

std::string UsageLine(const CLI::App& command) {
    std::string line = command.get_name();
    for (const CLI::Option* opt : command.get_options()) {
        if (opt == command.get_help_ptr()) continue;
        line += " " + OptionUsage(*opt);
    }
    for (const CLI::App* sub : command.get_subcommands({}))
        line += " | " + command.get_name() + " " + UsageLine(*sub);
    return line;
}

}  // namespace k52::cli
