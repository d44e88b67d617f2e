// The words of every notice and failure, by table: each notice as its box (text, title, icon) in Chinese
// and, for the formatted ones, in English; each failure kind's code, row words and exit code; and the
// codes and arguments scripts read, the same in every language.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "app/ExitCodes.h"
#include "app/TransferWording.h"
#include "support/InLanguage.h"

namespace k52::test {
namespace {

Notice With(NoticeKind kind, void (*fill)(Notice&)) {
    Notice n(kind);
    fill(n);
    return n;
}

TEST(TransferWording, EveryNoticeHasItsBox) {
    using K = NoticeKind;
    using I = MessageIcon;
    struct Case {
        Notice notice;
        const char* text;
        const char* title;
        MessageIcon icon;
    };
    const Case cases[] = {
        {With(K::BadPortSettings, [](Notice& n) { n.comPort = 9, n.baudRate = 7; }),
         "傳輸埠設定無效 (連接埠代碼 9, 速率代碼 7), 請重新設定傳輸埠!!", "錯誤", I::Exclamation},
        {K::CannotOpenFile, "無法開啟檔案!!", "錯誤", I::Exclamation},
        {K::NotRegularFile, "無法開啟檔案!! (不是一般檔案)", "錯誤", I::Exclamation},
        {With(K::LookupRefused,
              [](Notice& n) { n.problem = "record-too-long", n.line = 2, n.path = "/d/items.txt"; }),
         "檔案第 2 行的資料超過 253 個位元組, 無法下載!!\n檔案: /d/items.txt", "錯誤", I::Exclamation},
        {With(K::LookupRefused,
              [](Notice& n) {
                  n.problem = "not-utf-8", n.line = 2, n.column = 2, n.character = "\\xAB", n.path = "a";
              }),
         "檔案第 2 行第 2 個字元不是有效的 UTF-8 編碼 (位元組 \\xAB), 無法下載!!\n檔案: a", "錯誤",
         I::Exclamation},
        {With(K::LookupRefused,
              [](Notice& n) {
                  n.problem = "not-cp950", n.line = 2, n.column = 6, n.character = "\xF0\x9F\x98\x80",
                  n.codePoint = "U+1F600", n.path = "a";
              }),
         "檔案第 2 行第 6 個字元「\xF0\x9F\x98\x80」(U+1F600) 無法轉換成 CP950 編碼, 無法下載!!\n檔案: a",
         "錯誤", I::Exclamation},
        {K::CannotCreateFile, "開啟 / 新建檔案失敗!!", "錯誤", I::None},
        {With(K::LeftoverPartialFile, [](Notice& n) { n.path = "x.TXT.9.partial", n.count = 4; }),
         "先前中斷的接收留下了檔案 x.TXT.9.partial, 其中有 4 筆終端機已確認送出的資料.", "接收資料",
         I::Information},
        {K::PortOpenFailed, "連接埠無法打開!!", "錯誤", I::Exclamation},
        {K::CradleNotFound, "設置紅外線裝置失敗!!", "錯誤", I::Exclamation},
        {K::LineSettingsRefused, "設置連接埠失敗!!", "錯誤", I::Exclamation},
        {K::ReceivePortOpenFailed, "無法打開通訊埠!!", "錯誤", I::None},
        {K::ReceiveCradleNotFound, "無法設定紅外線裝置!!", "錯誤", I::Exclamation},
        {K::TerminalNotReady, "終端機尚未就緒!!", "錯誤", I::Exclamation},
        {K::PacketRefused, "下載失敗!!", "錯誤", I::Exclamation},
        {K::RetryAnswered, "下載失敗,再試一次嗎??", "錯誤", I::Question},
        {K::DownloadDone, "下載完畢!!", "Download", I::Exclamation},
        {K::DownloadCancelled, "下載已取消!!", "錯誤", I::Exclamation},
        {K::LineLost, "通訊埠已中斷 (傳輸線或轉接器被拔除?)!!", "錯誤", I::Exclamation},
        {With(K::MaybeDuplicated,
              [](Notice& n) {
                  n.lines = {3, 17};
              }),
         "終端機可能重複存了第 3, 17 行的資料 (未及時回應後重送), 請檢查終端機上的資料!!", "錯誤",
         I::Exclamation},
        {K::ReceiveTimedOut, "逾時!!", "錯誤", I::None},
        {K::NoConnection, "通訊埠無法連通!!", "錯誤", I::None},
        {K::TooManyRefusals, "資料連續錯誤, 接收中斷!!", "錯誤", I::None},
        {K::NothingReceived, "沒有接收到任何資料!!", "接收資料", I::None},
        {With(K::DataFileWriteFailed, [](Notice& n) { n.count = 0; }), "寫入檔案失敗!!", "錯誤",
         I::Exclamation},
        {With(K::DataFileWriteFailed, [](Notice& n) { n.count = 5; }),
         "寫入檔案失敗!! 先前接收的 5 筆資料已保存在檔案中.", "錯誤", I::Exclamation},
        {With(K::DataFileCommitFailed, [](Notice& n) { n.path = "/d/x.TXT.1.partial"; }),
         "寫入檔案失敗!! /d/x.TXT.1.partial", "錯誤", I::Exclamation},
        {With(K::ReceiveStopped, [](Notice& n) { n.count = 3; }),
         "接收中斷, 已接收的 3 筆資料已保存在檔案中.", "接收資料", I::Exclamation},
        {With(K::ReceiveInterrupted, [](Notice& n) { n.count = 3; }),
         "接收中斷, 已接收的 3 筆資料已保存在檔案中. 第 3 筆資料下次可能會再傳送一次.", "接收資料",
         I::Exclamation},
    };
    std::set<NoticeKind> covered;
    for (const Case& c : cases) {
        const NoticeBox box = WordNotice(c.notice);
        EXPECT_EQ(box.text, c.text) << NoticeCode(c.notice.kind);
        EXPECT_EQ(box.title, c.title) << NoticeCode(c.notice.kind);
        EXPECT_EQ(box.icon, c.icon) << NoticeCode(c.notice.kind);
        EXPECT_EQ(NoticeLine(c.notice), std::string(c.title) + ": " + c.text);
        covered.insert(c.notice.kind);
    }
    EXPECT_EQ(covered.size(), static_cast<std::size_t>(NoticeKind::ReceiveInterrupted) + 1);

    // The reason a port would not open goes beneath its box, untranslated: the front end words it.
    Notice busy(NoticeKind::ReceivePortOpenFailed);
    busy.reason = "COM1: /dev/ttyS0 is in use by another program; close it and try again";
    EXPECT_EQ(WordNotice(busy).detail, busy.reason);
    EXPECT_EQ(WordNotice(NoticeKind::LineLost).detail, "");
}

TEST(TransferWording, FormattedTextsInEnglishKeepTheirNumbers) {
    Notice notCp950(NoticeKind::LookupRefused);
    notCp950.problem = "not-cp950", notCp950.line = 2, notCp950.column = 6;
    notCp950.character = "\xF0\x9F\x98\x80", notCp950.codePoint = "U+1F600", notCp950.path = "a.txt";
    Notice notUtf8(NoticeKind::LookupRefused);
    notUtf8.problem = "not-utf-8", notUtf8.line = 3, notUtf8.column = 2, notUtf8.character = "\\xFF";
    notUtf8.path = "b.txt";
    Notice interrupted(NoticeKind::ReceiveInterrupted);
    interrupted.count = 3;
    const InLanguage english(Language::English);
    EXPECT_EQ(WordNotice(notCp950).text,
              "Character 6 of line 2 of the file, \"\xF0\x9F\x98\x80\" (U+1F600), has no CP950 code; cannot "
              "download!\nFile: a.txt");
    EXPECT_EQ(
        WordNotice(notUtf8).text,
        "Character 2 of line 3 of the file is not valid UTF-8 (byte \\xFF); cannot download!\nFile: b.txt");
    EXPECT_EQ(ReceiveDoneQuestion(12, "/d/x.TXT").text,
              "Done: 12 records received.\nView the received data now?");
    EXPECT_EQ(WordNotice(interrupted).text,
              "Receiving was interrupted; the 3 records received are saved in the file. Record 3 may be sent "
              "again next time.");
    EXPECT_EQ(WordNotice(NoticeKind::TerminalNotReady).title, "Error");
}

TEST(TransferWording, EachFailureHasOneCodeRowWordsAndExitCode) {
    struct Case {
        LinkFailure failure;
        bool unanswered;
        const char* code;
        const char* words;
        int exitCode;
    };
    const Case cases[] = {
        {LinkFailure::None, false, "", "完成", 0},
        {LinkFailure::Cancelled, false, "cancelled", "已取消", 6},
        {LinkFailure::BadPortSettings, false, "port-settings", "傳輸埠設定錯誤", 5},
        {LinkFailure::CannotOpenFile, false, "file", "檔案錯誤", 3},
        {LinkFailure::LookupRecordTooLong, false, "file", "檔案錯誤", 3},
        {LinkFailure::LookupNotConvertible, false, "file", "檔案錯誤", 3},
        {LinkFailure::FileWrite, false, "file", "檔案錯誤", 3},
        {LinkFailure::PortOpen, false, "port-open", "無法開啟傳輸埠", 4},
        {LinkFailure::IrPreparation, false, "ir-cradle", "紅外線傳輸座沒有回應", 4},
        {LinkFailure::LineSettings, false, "line-settings", "無法設定傳輸埠", 4},
        {LinkFailure::LineLost, false, "line-lost", "連線中斷", 4},
        {LinkFailure::TransferFailed, false, "refused", "終端機拒絕", 1},
        {LinkFailure::TransferFailed, true, "no-reply", "沒有回應", 1},
        {LinkFailure::NotReady, false, "no-reply", "沒有回應", 1},
        {LinkFailure::TimedOut, false, "timeout", "逾時", 1},
        {LinkFailure::TooManyRefusals, false, "refused", "終端機拒絕", 1},
        {LinkFailure::MaybeDuplicated, false, "duplicate", "可能重複", 1},
    };
    for (const Case& c : cases) {
        TransferOutcome o;
        o.failure = c.failure;
        o.unanswered = c.unanswered;
        EXPECT_EQ(FailureCode(o), c.code) << c.code;
        EXPECT_EQ(FailurePhrase(FailureCode(o)), c.words) << c.code;
        EXPECT_EQ(ExitCodeOf(o), c.exitCode) << c.code;
    }
    EXPECT_EQ(kExitInterrupted, 6);
}

TEST(TransferWording, CodesAndArgumentsAreTheSameInEveryLanguage) {
    Notice refused(NoticeKind::LookupRefused);
    refused.path = "/d/items.txt", refused.problem = "not-cp950", refused.line = 2, refused.column = 6;
    refused.character = "\xE2\x82\xAC", refused.codePoint = "U+20AC";
    Notice duplicated(NoticeKind::MaybeDuplicated);
    duplicated.lines = {3, 17};
    Notice port(NoticeKind::PortOpenFailed);
    port.device = "/dev/ttyUSB0", port.reason = "busy";
    const std::string chinese[] = {NoticeArgumentsJson(refused), NoticeArgumentsJson(duplicated),
                                   NoticeArgumentsJson(port)};
    const InLanguage english(Language::English);
    EXPECT_EQ(NoticeArgumentsJson(refused), chinese[0]);
    EXPECT_EQ(chinese[0],
              R"({"path":"/d/items.txt","problem":"not-cp950","line":2,"column":6,"character":"€",)"
              R"("code_point":"U+20AC"})");
    EXPECT_EQ(chinese[1], R"({"lines":[3,17]})");
    EXPECT_EQ(chinese[2], R"({"device":"/dev/ttyUSB0","reason":"busy"})");
    EXPECT_EQ(NoticeCode(NoticeKind::ReceiveTimedOut), "timed-out");
    // Every kind has a code of its own but for the two port failures of a receive, which mean the same.
    std::set<std::string_view> codes;
    for (int k = 0; k <= static_cast<int>(NoticeKind::ReceiveInterrupted); ++k)
        codes.insert(NoticeCode(static_cast<NoticeKind>(k)));
    EXPECT_EQ(codes.size(), static_cast<std::size_t>(NoticeKind::ReceiveInterrupted) + 1 - 2);
}

}  // namespace
}  // namespace k52::test
