// The notices' stable names and their arguments for scripts.
#include "transfer/Notice.h"

#include <nlohmann/json.hpp>

namespace k52 {
namespace {

struct NoticeName {
    NoticeKind kind;
    std::string_view code;
};

constexpr NoticeName kNames[] = {
    {NoticeKind::BadPortSettings, "bad-port-settings"},
    {NoticeKind::CannotOpenFile, "cannot-open-file"},
    {NoticeKind::NotRegularFile, "not-regular-file"},
    {NoticeKind::LookupRefused, "lookup-refused"},
    {NoticeKind::CannotCreateFile, "cannot-create-file"},
    {NoticeKind::LeftoverPartialFile, "leftover-partial-file"},
    {NoticeKind::PortOpenFailed, "port-open-failed"},
    {NoticeKind::CradleNotFound, "cradle-not-found"},
    {NoticeKind::LineSettingsRefused, "line-settings-refused"},
    {NoticeKind::ReceivePortOpenFailed, "port-open-failed"},
    {NoticeKind::ReceiveCradleNotFound, "cradle-not-found"},
    {NoticeKind::TerminalNotReady, "terminal-not-ready"},
    {NoticeKind::PacketRefused, "packet-refused"},
    {NoticeKind::RetryAnswered, "retry-answered"},
    {NoticeKind::DownloadDone, "download-done"},
    {NoticeKind::DownloadCancelled, "download-cancelled"},
    {NoticeKind::LineLost, "line-lost"},
    {NoticeKind::MaybeDuplicated, "maybe-duplicated"},
    {NoticeKind::ReceiveTimedOut, "timed-out"},
    {NoticeKind::NoConnection, "no-connection"},
    {NoticeKind::TooManyRefusals, "too-many-refusals"},
    {NoticeKind::NothingReceived, "nothing-received"},
    {NoticeKind::DataFileWriteFailed, "data-file-write-failed"},
    {NoticeKind::DataFileCommitFailed, "data-file-commit-failed"},
    {NoticeKind::ReceiveStopped, "receive-stopped"},
    {NoticeKind::ReceiveInterrupted, "receive-interrupted"},
};

}  // namespace

std::string_view NoticeCode(NoticeKind kind) {
    for (const NoticeName& n : kNames)
        if (n.kind == kind) return n.code;
    return "notice";
}

std::string NoticeArgumentsJson(const Notice& n) {
    nlohmann::ordered_json args = nlohmann::ordered_json::object();
    auto text = [&](const char* key, const std::string& value) {
        if (!value.empty()) args[key] = value;
    };
    text("device", n.device);
    text("path", n.path);
    text("reason", n.reason);
    switch (n.kind) {
        case NoticeKind::BadPortSettings:
            args["com_port"] = n.comPort;
            args["baud_rate"] = n.baudRate;
            break;
        case NoticeKind::LookupRefused:
            args["problem"] = n.problem;
            if (n.line > 0) args["line"] = n.line;
            if (n.column > 0) args["column"] = n.column;
            text("character", n.character);
            text("code_point", n.codePoint);
            break;
        case NoticeKind::MaybeDuplicated:
            args["lines"] = n.lines;
            break;
        case NoticeKind::DownloadDone:
            if (n.count > 0) args["lookup_file"] = n.count;
            break;
        case NoticeKind::RetryAnswered:
            args["again"] = n.count != 0;
            break;
        case NoticeKind::LeftoverPartialFile:
        case NoticeKind::DataFileWriteFailed:
        case NoticeKind::ReceiveStopped:
        case NoticeKind::ReceiveInterrupted:
            args["records"] = n.count;
            break;
        default:
            break;
    }
    // A path from the disk may hold bytes that are no UTF-8: never fail on them.
    return args.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace k52
