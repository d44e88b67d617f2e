// The forwarder against a real PostgreSQL: a missing schema said and retried, every upload delivered
// once with its records (tab, backslash and code page 950 text intact).
#include <unistd.h>

#include "central/CentralFixture.h"
#include "line/Clock.h"
#include "station/Forwarder.h"
#include "support/VirtualClock.h"

namespace k52::test {
namespace {

using CentralForward = CentralTest;

TEST_F(CentralForward, AMissingSchemaIsSaidThenEveryUploadArrivesOnceWithItsRecords) {
    Folder f;
    f.Add("T1", Numbered("A", 3), 1714521600);
    f.Add("T1", {}, 1714521700);
    f.Add("T2", {"x\t\\y", std::string("\xA4\xA4", 2)}, 1714521800);
    VirtualClock clock;
    StopFlag stop{false};
    Forwarder forwarder(f.path(), Url(), clock, stop, [] { return std::time_t{1714600000}; });
    Forwarder::Pass pass = forwarder.RunOnce();
    EXPECT_EQ(pass.delivered, 0);
    EXPECT_NE(pass.error.find("no K52 schema"), std::string::npos) << pass.error;
    EXPECT_EQ(forwarder.State().waiting, 3u);
    Init();
    pass = forwarder.RunOnce();
    EXPECT_EQ(pass.delivered, 3) << pass.error;
    EXPECT_EQ(forwarder.State().waiting, 0u);
    EXPECT_EQ(Value("SELECT count(*) FROM uploads"), "3");
    EXPECT_EQ(
        Value("SELECT string_agg(text, '|' ORDER BY line) FROM records r JOIN uploads u USING (upload_key)"
              " WHERE u.terminal = 'T2'"),
        "x\t\\y|\xE4\xB8\xAD");
}

}  // namespace
}  // namespace k52::test
