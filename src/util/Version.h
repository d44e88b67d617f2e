// The version every program reports: the release, and the commit it was built from when the build knew it.
#pragma once

#include <string>
#include <string_view>

namespace k52 {

// "k52cli 1.0 (commit 4a0da4e)", or "k52cli 1.0" when the source was no git checkout.
std::string VersionLine(std::string_view program);

}  // namespace k52
