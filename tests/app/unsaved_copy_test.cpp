// The unsaved template's recovery copy: when it falls due, and what a later start finds in its folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "app/UnsavedCopy.h"
#include "support/TempDir.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "util/LocalTime.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;

TEST(UnsavedCopySchedule, FallsDueAfterAQuietSpellButNeverLaterThanTheLongestWait) {
    struct Case {
        const char* what;
        std::vector<std::int64_t> changes;
        std::optional<std::int64_t> dueAt;
    } cases[] = {
        {"nothing changed", {}, std::nullopt},
        {"one change", {1000}, 4000},
        {"a second change moves it on", {1000, 2500}, 5500},
        // Typing every two seconds never leaves three quiet ones: the first change's 30 s hold.
        {"steady typing",
         {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000, 20000, 22000, 24000, 26000, 28000,
          30000},
         30000},
    };
    for (const Case& c : cases) {
        UnsavedCopySchedule s;
        for (std::int64_t t : c.changes) s.Changed(t);
        EXPECT_EQ(s.DueAt(), c.dueAt) << c.what;
    }

    UnsavedCopySchedule s;
    s.Changed(0);
    EXPECT_FALSE(s.Due(2999));
    EXPECT_TRUE(s.Due(3000));
    s.Written();
    EXPECT_FALSE(s.DueAt());
    s.Changed(40000);  // the hold counts from the first change after the copy
    s.Changed(42000);
    EXPECT_EQ(s.DueAt(), 45000);
    s.Settled();
    EXPECT_FALSE(s.Due(100000));
}

class UnsavedCopiesTest : public ::testing::Test {
  protected:
    TemplateDocument Edited(const std::string& path) {
        TemplateDocument doc;
        doc.tmpl = StartupTemplate();
        WriteFieldText(doc.tmpl.menu(1).title, Utf8ToCp950("盤點").bytes);
        doc.tmpl.startPosition = 1;
        doc.templatePath = path;
        doc.templateModified = true;
        return doc;
    }
    std::string folder() const { return (dir_.path() / "state" / "k52").string(); }

    test::TempDir dir_;
    // Process ids: 77 this test's own, 500 a k52gen running beside it, any other gone.
    static constexpr unsigned long kEarlierPid = 77;
    static bool Running(unsigned long pid) { return pid == 500; }
    UnsavedCopies Reader() const { return UnsavedCopies(folder(), kEarlierPid, &Running); }
};

TEST_F(UnsavedCopiesTest, TheCopyIsTheSavedFileFormatAndRestoresWithItsPathAndTime) {
    const TemplateDocument doc = Edited(dir_("plan.ATC"));
    const std::time_t at = *ParseInstant("2026-12-09T03:10:00Z");
    std::string reason;
    ASSERT_TRUE(UnsavedCopies(folder(), kEarlierPid).Write(doc, at, &reason)) << reason;

    // Byte for byte what Save writes, so that the copy is also a template any Open reads.
    const std::string copy = folder() + "/unsaved-77.ATC";
    ASSERT_TRUE(WriteTemplateFile(dir_("saved.ATC"), doc.tmpl));
    EXPECT_EQ(dir_.Read("state/k52/unsaved-77.ATC"), dir_.Read("saved.ATC"));
    EXPECT_EQ(fs::file_size(copy), 8734u);
    EXPECT_EQ(dir_.Read("state/k52/unsaved-77.ATC").substr(0, 8), "Kxx-3.10");

    const auto found = Reader().Leftovers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(SerializeTemplate(found[0].doc.tmpl), SerializeTemplate(doc.tmpl));
    EXPECT_EQ(found[0].doc.templatePath, dir_("plan.ATC"));
    EXPECT_TRUE(found[0].doc.templateModified);
    EXPECT_EQ(found[0].written, at);

    UnsavedCopies::Remove(found[0]);
    EXPECT_TRUE(Reader().Leftovers().empty());
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(UnsavedCopiesTest, OnlyCopiesWorthOfferingAreOfferedNewestFirst) {
    // A new template never saved, written at 03:00, and an older one of a file at 02:00.
    const auto t = [](const char* iso) { return *ParseInstant(iso); };
    ASSERT_TRUE(UnsavedCopies(folder(), 101).Write(Edited(""), t("2026-12-09T03:00:00Z")));
    ASSERT_TRUE(UnsavedCopies(folder(), 102).Write(Edited(dir_("b.ATC")), t("2026-12-09T02:00:00Z")));
    // Saved meanwhile: the file holds what the copy holds, so nothing would be lost.
    const TemplateDocument saved = Edited(dir_("c.ATC"));
    ASSERT_TRUE(WriteTemplateFile(saved.templatePath, saved.tmpl));
    ASSERT_TRUE(UnsavedCopies(folder(), 103).Write(saved, t("2026-12-09T03:30:00Z")));
    // Cut short: no template to give back.
    dir_.Write("state/k52/unsaved-104.ATC", "Kxx-3.10 and no more");
    // A k52gen running now keeps its copy to itself.
    const unsigned long running = 500;
    ASSERT_TRUE(UnsavedCopies(folder(), running).Write(Edited(""), t("2026-12-09T04:00:00Z")));

    const auto found = Reader().Leftovers();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].written, t("2026-12-09T03:00:00Z"));
    EXPECT_EQ(found[0].doc.templatePath, "");
    EXPECT_EQ(found[1].doc.templatePath, dir_("b.ATC"));
    EXPECT_FALSE(fs::exists(folder() + "/unsaved-103.ATC"));
    EXPECT_FALSE(fs::exists(folder() + "/unsaved-103.note"));
    EXPECT_FALSE(fs::exists(folder() + "/unsaved-104.ATC"));
    EXPECT_TRUE(fs::exists(folder() + "/unsaved-" + std::to_string(running) + ".ATC"));

    UnsavedCopies(folder(), running).RemoveOwn();
    EXPECT_FALSE(fs::exists(folder() + "/unsaved-" + std::to_string(running) + ".ATC"));
}

}  // namespace
}  // namespace k52
