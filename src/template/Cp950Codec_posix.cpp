// One CP950 character to UTF-8 and back through iconv.
#include <iconv.h>

#include "template/Cp950Codec.h"

namespace k52 {
namespace {

// One conversion descriptor per direction and thread; iconv_t is stateful.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole unit; false when it cannot be converted.
    bool Convert(std::string_view in, std::string& out) {
        if (!valid()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r == static_cast<size_t>(-1) || inLeft != 0) return false;
        r = iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
        if (r == static_cast<size_t>(-1)) return false;
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        return true;
    }

  private:
    iconv_t cd_;
};

Converter& ToUtf8() {
    thread_local Converter c("UTF-8", "CP950");
    return c;
}
Converter& FromUtf8() {
    thread_local Converter c("CP950", "UTF-8");
    return c;
}

}  // namespace

bool Cp950UnitToUtf8(std::string_view unit, std::string& out) {
    return ToUtf8().Convert(unit, out);
}

bool Utf8UnitToCp950(std::string_view ch, std::string& out) {
    return FromUtf8().Convert(ch, out);
}

}  // namespace k52
