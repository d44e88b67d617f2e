// image: writes a template's download image, never over the template itself.
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "protocol/DownloadImage.h"

namespace k52::cli {
namespace {

struct ImageOptions {
    std::string file;
    std::string out;
};

int RunImage(const ImageOptions& o) {
    if (int rc = MayWrite(o.out, K52_EN("image"), {{o.file, K52_EN("the template")}}, Existing::Replace);
        rc != kExitOk)
        return rc;
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    DownloadImageBuilder builder;
    builder.BuildDownloadImage(t);  // works on the copy in memory; the file is not changed
    return SaveOutputFile(o.out, builder.image().data(), builder.image().size());
}

}  // namespace

void RegisterImageCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<ImageOptions>();
    CLI::App* sub = app.add_subcommand("image", Localize("write a template's 10500-byte download image"));
    sub->add_option("FILE", o->file, Localize("the template file"))->required()->check(kPath);
    sub->add_option("OUT", o->out, Localize("the image file to write"))->required()->check(kPath);
    commands.push_back({sub, {}, [o] { return RunImage(*o); }});
}

}  // namespace k52::cli
