// The words of the transfers' notices and failures, in one table each.
#include "app/TransferWording.h"

#include "app/ExitCodes.h"
#include "i18n/Translate.h"
#include "transfer/LookupData.h"

namespace k52 {
namespace {

constexpr char kErrorTitle[] = K52_TR("Link", "錯誤");
constexpr char kPortOpenFailed[] = K52_TR("Link", "連接埠無法打開!!");
constexpr char kIrSetupFailed[] = K52_TR("Link", "設置紅外線裝置失敗!!");
constexpr char kPortSetupFailed[] = K52_TR("Link", "設置連接埠失敗!!");
constexpr char kReceivePortOpenFailed[] = K52_TR("Link", "無法打開通訊埠!!");
constexpr char kReceiveIrSetupFailed[] = K52_TR("Link", "無法設定紅外線裝置!!");
constexpr char kCannotOpenFile[] = K52_TR("Link", "無法開啟檔案!!");
constexpr char kTerminalNotReady[] = K52_TR("Link", "終端機尚未就緒!!");
constexpr char kDownloadFailed[] = K52_TR("Link", "下載失敗!!");
constexpr char kRetryQuestion[] = K52_TR("Link", "下載失敗,再試一次嗎??");
constexpr char kDownloadDone[] = K52_TR("Link", "下載完畢!!");
constexpr char kLookupFilled[] = K52_TR("Link", "已填入第 %1 索引檔");
constexpr char kDownloadDoneTitle[] = "Download";
constexpr char kProgressTitle[] = K52_TR("Link", "下載程式");
constexpr char kProgressText[] = K52_TR("Link", "下載中...");
constexpr char kCreateFileFailed[] = K52_TR("Link", "開啟 / 新建檔案失敗!!");
constexpr char kTimeOut[] = K52_TR("Link", "逾時!!");
constexpr char kNoConnection[] = K52_TR("Link", "通訊埠無法連通!!");
constexpr char kLineLost[] = K52_TR("Link", "通訊埠已中斷 (傳輸線或轉接器被拔除?)!!");
constexpr char kReceiveTitle[] = K52_TR("Link", "接收資料");
constexpr char kNothingReceived[] = K52_TR("Link", "沒有接收到任何資料!!");
constexpr char kDownloadCancelled[] = K52_TR("Link", "下載已取消!!");
constexpr char kTooManyRefusals[] = K52_TR("Link", "資料連續錯誤, 接收中斷!!");

std::string Tr(const char* text) {
    return std::string(Translate("Link", text));
}

std::string Text(const char* pattern, std::initializer_list<std::string_view> args) {
    return Substitute(Translate("Link", pattern), args);
}

std::string Number(long n) {
    return std::to_string(n);
}

std::string ReceiveInterrupted(long kept, bool lastMayComeAgain) {
    std::string text = Text(K52_TR("Link", "接收中斷, 已接收的 %1 筆資料已保存在檔案中."), {Number(kept)});
    if (lastMayComeAgain) text += Text(K52_TR("Link", " 第 %1 筆資料下次可能會再傳送一次."), {Number(kept)});
    return text;
}

std::string DataFileWriteFailed(long kept) {
    if (kept <= 0) return Text(K52_TR("Link", "寫入檔案失敗!!"), {});
    return Text(K52_TR("Link", "寫入檔案失敗!! 先前接收的 %1 筆資料已保存在檔案中."), {Number(kept)});
}

std::string LookupRefusalText(const Notice& n) {
    const std::string line = Number(n.line), column = Number(n.column);
    switch (LookupProblemOfCode(n.problem).value_or(LookupProblem::RecordTooLong)) {
        case LookupProblem::RecordTooLong:
            return Text(K52_TR("Link", "檔案第 %1 行的資料超過 %2 個位元組, 無法下載!!"),
                        {line, Number(static_cast<long>(kLookupRecordLimit))});
        case LookupProblem::NotCp950:
            return Text(
                K52_TR("Link", "檔案第 %1 行第 %2 個字元「%3」(%4) 無法轉換成 CP950 編碼, 無法下載!!"),
                {line, column, n.character, n.codePoint});
        case LookupProblem::NotUtf8:
            return Text(
                K52_TR("Link", "檔案第 %1 行第 %2 個字元不是有效的 UTF-8 編碼 (位元組 %3), 無法下載!!"),
                {line, column, n.character});
        case LookupProblem::NotUtf16:
            return Text(K52_TR("Link", "檔案第 %1 行第 %2 個字元不是有效的 UTF-16 編碼 (%3), 無法下載!!"),
                        {line, column, n.character});
        case LookupProblem::NulByte:
            return Text(K52_TR("Link",
                               "檔案第 %1 行第 %2 個字元是 NUL 字元, 這不是純文字檔 "
                               "(可能是沒有 BOM 的 UTF-16 檔案), 無法下載!!"),
                        {line, column});
        case LookupProblem::NoRecords:
            return Tr(K52_TR("Link",
                             "檔案中沒有任何資料, 下載它會清除終端機上原有的索引檔資料, "
                             "因此不予下載!!"));
    }
    return {};
}

// What to look at when a download drew no answer, naming the device: English, finished, as the detail.
std::string NoAnswerDetail(const std::string& device) {
    return Substitute(K52_EN("No terminal answered on %1. Check that:\n"
                             "- the cable is plugged in at both ends, or the terminal sits in its cradle\n"
                             "- the terminal is switched on and waits in its download screen"),
                      {device});
}

std::string RefusedDetail(const std::string& device) {
    return Substitute(K52_EN("The terminal on %1 did not take a packet. Check that the cable is plugged in "
                             "firmly, or that the terminal stays in its cradle, then try again."),
                      {device});
}

// The detail of a failed attempt's boxes: the device, and what to check.
std::string AttemptDetail(const Notice& n) {
    if (n.kind == NoticeKind::TerminalNotReady) return NoAnswerDetail(n.device);
    if (n.kind == NoticeKind::PacketRefused) return RefusedDetail(n.device);
    return {};
}

std::string LinesList(const std::vector<long>& lines) {
    std::string list;
    for (long line : lines) list += (list.empty() ? "" : ", ") + Number(line);
    return list;
}

// The text of a notice's box; its title and icon are in the table below.
std::string BoxText(const Notice& n) {
    switch (n.kind) {
        case NoticeKind::BadPortSettings:
            return Text(K52_TR("Link", "傳輸埠設定無效 (連接埠代碼 %1, 速率代碼 %2), 請重新設定傳輸埠!!"),
                        {Number(n.comPort), Number(n.baudRate)});
        case NoticeKind::CannotOpenFile:
            return Tr(kCannotOpenFile);
        case NoticeKind::NotRegularFile:
            return Tr(K52_TR("Link", "無法開啟檔案!! (不是一般檔案)"));
        case NoticeKind::LookupRefused:
            return Text(K52_TR("Link", "%1\n檔案: %2"), {LookupRefusalText(n), n.path});
        case NoticeKind::CannotCreateFile:
            return Tr(kCreateFileFailed);
        case NoticeKind::LeftoverPartialFile:
            return Text(K52_TR("Link", "先前中斷的接收留下了檔案 %1, 其中有 %2 筆終端機已確認送出的資料."),
                        {n.path, Number(n.count)});
        case NoticeKind::PortOpenFailed:
            return Tr(kPortOpenFailed);
        case NoticeKind::CradleNotFound:
            return Tr(kIrSetupFailed);
        case NoticeKind::LineSettingsRefused:
            return Tr(kPortSetupFailed);
        case NoticeKind::ReceivePortOpenFailed:
            return Tr(kReceivePortOpenFailed);
        case NoticeKind::ReceiveCradleNotFound:
            return Tr(kReceiveIrSetupFailed);
        case NoticeKind::TerminalNotReady:
            return Tr(kTerminalNotReady);
        case NoticeKind::PacketRefused:
            return Tr(kDownloadFailed);
        case NoticeKind::RetryAnswered:
            return Tr(kRetryQuestion);
        case NoticeKind::DownloadDone:
            if (n.count > 0) return Tr(kDownloadDone) + "\n" + Text(kLookupFilled, {Number(n.count)});
            return Tr(kDownloadDone);
        case NoticeKind::DownloadCancelled:
            return Tr(kDownloadCancelled);
        case NoticeKind::LineLost:
            return Tr(kLineLost);
        case NoticeKind::MaybeDuplicated:
            return Text(
                K52_TR("Link", "終端機可能重複存了第 %1 行的資料 (未及時回應後重送), 請檢查終端機上的資料!!"),
                {LinesList(n.lines)});
        case NoticeKind::ReceiveTimedOut:
            return Tr(kTimeOut);
        case NoticeKind::NoConnection:
            return Tr(kNoConnection);
        case NoticeKind::TooManyRefusals:
            return Tr(kTooManyRefusals);
        case NoticeKind::NothingReceived:
            return Tr(kNothingReceived);
        case NoticeKind::DataFileWriteFailed:
            return DataFileWriteFailed(n.count);
        case NoticeKind::DataFileCommitFailed:
            return DataFileWriteFailed(0) + " " + n.path;
        case NoticeKind::ReceiveStopped:
            return ReceiveInterrupted(n.count, false);
        case NoticeKind::ReceiveInterrupted:
            return ReceiveInterrupted(n.count, true);
    }
    return {};
}

struct BoxStyle {
    NoticeKind kind;
    const char* title;
    MessageIcon icon;
};

// Every box is titled "錯誤" with the exclamation mark but for these.
constexpr BoxStyle kStyles[] = {
    {NoticeKind::CannotCreateFile, kErrorTitle, MessageIcon::None},
    {NoticeKind::LeftoverPartialFile, kReceiveTitle, MessageIcon::Information},
    {NoticeKind::ReceivePortOpenFailed, kErrorTitle, MessageIcon::None},
    {NoticeKind::RetryAnswered, kErrorTitle, MessageIcon::Question},
    {NoticeKind::DownloadDone, kDownloadDoneTitle, MessageIcon::Exclamation},
    {NoticeKind::ReceiveTimedOut, kErrorTitle, MessageIcon::None},
    {NoticeKind::NoConnection, kErrorTitle, MessageIcon::None},
    {NoticeKind::TooManyRefusals, kErrorTitle, MessageIcon::None},
    {NoticeKind::NothingReceived, kReceiveTitle, MessageIcon::None},
    {NoticeKind::ReceiveStopped, kReceiveTitle, MessageIcon::Exclamation},
    {NoticeKind::ReceiveInterrupted, kReceiveTitle, MessageIcon::Exclamation},
};

struct FailureWords {
    LinkFailure failure;
    const char* code;
    const char* phrase;
    int exitCode;
};

// Each failure kind once: its code for scripts, its words in a row, and k52cli's exit code.
constexpr FailureWords kFailures[] = {
    {LinkFailure::None, "", K52_TR("TerminalRack", "完成"), kExitOk},
    {LinkFailure::Cancelled, K52_EN("cancelled"), K52_TR("TerminalRack", "已取消"), kExitInterrupted},
    {LinkFailure::BadPortSettings, K52_EN("port-settings"), K52_TR("TerminalRack", "傳輸埠設定錯誤"),
     kExitBadTemplate},
    {LinkFailure::CannotOpenFile, K52_EN("file"), K52_TR("TerminalRack", "檔案錯誤"), kExitFile},
    {LinkFailure::LookupRecordTooLong, K52_EN("file"), K52_TR("TerminalRack", "檔案錯誤"), kExitFile},
    {LinkFailure::LookupNotConvertible, K52_EN("file"), K52_TR("TerminalRack", "檔案錯誤"), kExitFile},
    {LinkFailure::FileWrite, K52_EN("file"), K52_TR("TerminalRack", "檔案錯誤"), kExitFile},
    {LinkFailure::PortOpen, K52_EN("port-open"), K52_TR("TerminalRack", "無法開啟傳輸埠"), kExitPort},
    {LinkFailure::IrPreparation, K52_EN("ir-cradle"), K52_TR("TerminalRack", "紅外線傳輸座沒有回應"),
     kExitPort},
    {LinkFailure::LineSettings, K52_EN("line-settings"), K52_TR("TerminalRack", "無法設定傳輸埠"), kExitPort},
    {LinkFailure::LineLost, K52_EN("line-lost"), K52_TR("TerminalRack", "連線中斷"), kExitPort},
    // A failed download is "no-reply" or "refused" by whether anything answered.
    {LinkFailure::TransferFailed, K52_EN("refused"), K52_TR("TerminalRack", "終端機拒絕"), kExitFailed},
    {LinkFailure::NotReady, K52_EN("no-reply"), K52_TR("TerminalRack", "沒有回應"), kExitFailed},
    {LinkFailure::TimedOut, K52_EN("timeout"), K52_TR("TerminalRack", "逾時"), kExitFailed},
    {LinkFailure::TooManyRefusals, K52_EN("refused"), K52_TR("TerminalRack", "終端機拒絕"), kExitFailed},
    {LinkFailure::MaybeDuplicated, K52_EN("duplicate"), K52_TR("TerminalRack", "可能重複"), kExitFailed},
};

const FailureWords& WordsOf(LinkFailure failure) {
    for (const FailureWords& w : kFailures)
        if (w.failure == failure) return w;
    return kFailures[0];
}

}  // namespace

NoticeBox WordNotice(const Notice& n) {
    NoticeBox box;
    box.text = BoxText(n);
    box.title = Tr(kErrorTitle);
    for (const BoxStyle& style : kStyles)
        if (style.kind == n.kind) {
            box.title = Tr(style.title);
            box.icon = style.icon;
        }
    if (n.kind == NoticeKind::PortOpenFailed || n.kind == NoticeKind::ReceivePortOpenFailed)
        box.detail = n.reason;
    else
        box.detail = AttemptDetail(n);
    return box;
}

std::string NoticeLine(const Notice& n) {
    const NoticeBox box = WordNotice(n);
    return box.title + ": " + box.text;
}

NoticeBox RetryQuestion(const Notice& failed) {
    return {Tr(kRetryQuestion), Tr(kErrorTitle), MessageIcon::Question, AttemptDetail(failed)};
}

NoticeBox DownloadProgressWords() {
    return {Tr(kProgressText), Tr(kProgressTitle), MessageIcon::None, {}};
}

NoticeBox LookupMisfitQuestion(int number, int recordLength, const std::vector<std::string>& mismatches,
                               const std::string& fills) {
    std::string text = Text(K52_TR("Link", "資料檔不符合第 %1 索引檔的格式 (每筆 %2 位元組), 仍要下載嗎??"),
                            {Number(number), Number(recordLength)});
    text += "\n";
    for (const std::string& line : mismatches) text += "\n" + line;
    return {text, Tr(K52_TR("Link", "下載索引檔")), MessageIcon::Warning, fills};
}

NoticeBox ReceiveDoneQuestion(int count, const std::string& file) {
    return {Text(K52_TR("Link", "完成 : 共接收 %1 筆資料. \n立即瀏覽接收到的資料嗎??"), {Number(count)}),
            Tr(kReceiveTitle), MessageIcon::None, Substitute(K52_EN("The records are in %1"), {file})};
}

std::string FailureCode(const TransferOutcome& o) {
    if (o.failure == LinkFailure::TransferFailed && o.unanswered) return K52_EN("no-reply");
    return WordsOf(o.failure).code;
}

std::string FailurePhrase(const std::string& code) {
    for (const FailureWords& w : kFailures)
        if (code == w.code) return std::string(Translate("TerminalRack", w.phrase));
    return code;
}

int ExitCodeOf(const TransferOutcome& o) {
    return WordsOf(o.failure).exitCode;
}

std::vector<std::string> OutcomeNotes(const TransferOutcome& o, bool receive, const std::string& file) {
    std::vector<std::string> notes;
    if (o.lastMayComeAgain)
        notes.push_back(
            Localize("record %1 may come again next time: the terminal may not have heard it was stored",
                     {Number(o.recordsStored)}));
    if (receive && o.fileKept && o.dataFile != file)
        notes.push_back(Localize("%1 appeared meanwhile; the records are in %2", {file, o.dataFile}));
    if (o.failure == LinkFailure::Cancelled)
        notes.push_back(receive ? Localize("interrupted after %1 records", {Number(o.recordsStored)})
                                : Localize("interrupted"));
    auto withReason = [&](std::string note) {
        if (!o.reason.empty()) note += ": " + o.reason;
        notes.push_back(std::move(note));
    };
    switch (o.failure) {
        case LinkFailure::CannotOpenFile:
            withReason(o.dataFile.empty() ? Localize("cannot read %1", {file})
                                          : Localize("cannot write %1", {file}));
            break;
        case LinkFailure::FileWrite:
            withReason(Localize("cannot write %1", {file}));
            break;
        case LinkFailure::PortOpen:
            for (const Notice& n : o.notices)
                if (!n.reason.empty()) notes.push_back(LocalizeFinished(n.reason));
            break;
        case LinkFailure::LineSettings:
            // The desktop's receive command ends silently here; a script still deserves a reason.
            notes.push_back(Localize("the device refused the line settings (speed, 8N1)"));
            break;
        case LinkFailure::LineLost:
            notes.push_back(Localize("the device went away during the exchange (unplugged?)"));
            break;
        case LinkFailure::TransferFailed:
            if (o.unanswered)
                notes.push_back(
                    Localize("no terminal answered on %1: check the cable (or that the terminal "
                             "sits in its cradle) and that the terminal waits in its download screen",
                             {o.device}));
            break;
        default:
            break;
    }
    for (long line : o.duplicateLines)
        notes.push_back(Localize("the terminal may hold line %1 of %2 more than once", {Number(line), file}));
    return notes;
}

}  // namespace k52
