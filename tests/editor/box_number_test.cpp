// How a number box's text reads: leading blanks allowed, digits only, too large reads as the largest.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "editor/ControlLogic.h"

namespace k52 {
namespace {

TEST(BoxNumber, ReadsWhatAPersonTypes) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"0", 0u},
        {"42", 42u},
        {"  7", 7u},
        {"\t 255", 255u},
        {"007", 7u},
        {"4294967295", 4294967295u},
        {"4294967296", 4294967295u},  // beyond 32 bits: the largest, so every limit refuses it
        {"99999999999999999999999", 4294967295u},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"12 ", std::nullopt},
        {"1a", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"0x10", std::nullopt},
        {"  99999999999999999999x", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseBoxNumber(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace k52
