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

TEST_F(CentralForward, WithTheTemplateKnownEachRecordsFieldsAreStoredAndReadBackAsSent) {
    Init();
    Folder f;
    // A quote and a backslash inside a field (shown escaped, as the data viewer and export show it), and
    // a double-byte character.
    const std::string big5 = std::string("\xA5\x7C", 2);
    f.Add("T1", {"0012,\"q\",a\\b", big5 + ",2"}, 1714521600);
    VirtualClock clock;
    StopFlag stop{false};
    ForwarderOptions options;
    options.separators = FieldSeparators{',', 0};
    Forwarder forwarder(
        f.path(), Url(), clock, stop, [] { return std::time_t{1714600000}; }, options);
    ASSERT_EQ(forwarder.RunOnce().delivered, 1);
    EXPECT_EQ(Value("SELECT array_to_string(fields, '|') FROM records WHERE line = 1"), "0012|\"q\"|a\\\\b");
    EXPECT_EQ(Value("SELECT array_length(fields, 1) FROM records WHERE line = 2"), "2");
    EXPECT_EQ(Value("SELECT fields[1] FROM records WHERE line = 2"), "\xE5\x9B\x9B" /* 四 */);

    std::string reason;
    std::optional<CentralStore> store = CentralStore::Open(Url(), &reason);
    ASSERT_TRUE(store) << reason;
    std::vector<std::string> raw;
    ASSERT_TRUE(store->ForEachRecord(
        {}, [&](const CentralUpload&, int, const std::string& r) { return raw.push_back(r), true; }, &reason))
        << reason;
    EXPECT_EQ(raw, (std::vector<std::string>{"0012,\"q\",a\\b", big5 + ",2"}));
}

}  // namespace
}  // namespace k52::test
