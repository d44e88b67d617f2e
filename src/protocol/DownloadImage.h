// The download image: the template compiled into the 10500 bytes the terminal receives.
#pragma once

#include <array>
#include <cstddef>

#include "template/Template.h"

namespace k52 {

constexpr std::size_t kDownloadImageSize = 10500;
constexpr std::size_t kImageMenusOffset = 25;
constexpr std::size_t kImageFormsOffset = 2525;
constexpr std::size_t kImageLookupOffset = 8535;
constexpr std::size_t kImageSeparatorsOffset = 8592;
constexpr std::size_t kImageStartupOffset = 8594;
constexpr std::size_t kImagePasswordOffset = 8614;

using DownloadImage = std::array<u8, kDownloadImageSize>;

// Converts a numeric prefix or suffix text (decimal numbers separated by blanks) into the byte codes it
// lists, in place: codes from byte 0, then a 0 byte; zeros are dropped. A text with any other character,
// or with a number above 255, is left as it is. Returns true when the field was converted.
bool ConvertNumericText(u8* field, std::size_t width);

// Builds images; holds the image and the two working areas for the life of its owner, so building twice
// reuses them and bytes the build never writes stay zero.
class DownloadImageBuilder {
  public:
    // Normalises the template, updates its derived fields in place (not a modification the user made)
    // and rewrites the image.
    void BuildDownloadImage(ApplicationTemplate& t);
    const DownloadImage& image() const { return image_; }

  private:
    void CompileMenus(ApplicationTemplate& t);
    void CompileForms(const ApplicationTemplate& t);
    void AssembleImage(const ApplicationTemplate& t);

    MenuRecord menus_[kMenuCount]{};
    FormRecord forms_[kFormCount]{};
    DownloadImage image_{};
};

}  // namespace k52
