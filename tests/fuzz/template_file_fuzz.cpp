// A template file from anywhere: read it, then normalise, derive and build the download image from it.
#include <cstring>

#include "FuzzInput.h"
#include "protocol/DownloadImage.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

using namespace k52;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ApplicationTemplate t{};
    const bool wellFormed =
        size >= kTemplateFileMinSize && std::memcmp(data, kTemplateMagic, sizeof kTemplateMagic) == 0;
    const TemplateReadResult read = ParseTemplate(data, size, t);
    K52_FUZZ_CHECK((read == TemplateReadResult::Ok) == wellFormed);
    if (read != TemplateReadResult::Ok) return 0;

    // What was read is written back byte for byte, followed by the zero trailer.
    const std::vector<unsigned char> saved = SerializeTemplate(t);
    K52_FUZZ_CHECK(saved.size() == kTemplateFileSize);
    K52_FUZZ_CHECK(std::memcmp(saved.data(), data, kTemplateFileMinSize) == 0);
    for (std::size_t i = kTemplateFileMinSize; i < saved.size(); ++i) K52_FUZZ_CHECK(saved[i] == 0);

    ApplicationTemplate once = t;
    NormaliseTemplate(once);
    ApplicationTemplate twice = once;
    NormaliseTemplate(twice);
    K52_FUZZ_CHECK(std::memcmp(&once, &twice, sizeof once) == 0);

    for (const MenuRecord& m : t.menus) {
        const int shown = CountShownOptions(m);
        K52_FUZZ_CHECK(shown >= 0 && shown <= kOptionsPerMenu);
    }

    DownloadImageBuilder builder;
    builder.BuildDownloadImage(t);
    const DownloadImage first = builder.image();
    builder.BuildDownloadImage(t);  // building again from the updated template gives the same image
    K52_FUZZ_CHECK(first == builder.image());
    return 0;
}
