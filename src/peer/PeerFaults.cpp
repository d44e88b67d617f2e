// Parsing the peer's fault descriptions (--fault NAME=ARGS) and their help text.
#include "peer/PeerFaults.h"

#include "util/Parse.h"

namespace k52 {

const char kPeerFaultHelp[] =
    "Faults (--fault FAULT, as often as needed; numbers of packets and records count from 0):\n"
    "  refuse-handshake=N[:TEXT]    answer the first N handshakes (\"VARNEL\" or \"READ\") with TEXT\n"
    "                               (default \"NAK\\r\"); TEXT takes \\r, \\n, \\\\ and \\xHH escapes\n"
    "  ignore-handshake=N           say nothing to the first N handshakes\n"
    "  refuse-packet=P[:K[:TEXT]]   refuse download packet P K times (default 1) with TEXT (default "
    "\"NAK\\r\");\n"
    "                               a lookup file's packets are its records, then the end marker\n"
    "  ignore-packet=P[:K]          say nothing to download packet P, K times (default 1)\n"
    "  silent                       say nothing at all (the cradle still answers)\n"
    "  silent-after=N               fall silent once N packets or records were acknowledged\n"
    "  repeat-record=R              send record R once more after it was acknowledged\n"
    "  bad-checksum=R[:K]           the first K sends (default 1) of record R carry a wrong checksum\n"
    "  wrong-sequence=R[:K]         the first K sends (default 1) of record R carry a wrong sequence number\n"
    "  pause=MS                     every answer goes out MS milliseconds late\n"
    "  pause-packet=P:MS            the answer to download packet P goes out MS milliseconds late, once\n"
    "  pause-record=R:MS            the first send of record R goes out MS milliseconds late\n"
    "  split=MS                     answers go out one byte at a time, MS milliseconds apart\n"
    "  cradle-echo=BYTE             the cradle echoes BYTE (0x.. or decimal) instead of the probe byte\n"
    "Faults that count every send of the exchange from 0 (resends included):\n"
    "  lose-frame=F                 record frame F never reaches the host\n"
    "  garble-frame=F               record frame F reaches the host with a wrong checksum\n"
    "  late-frame=F:MS              record frame F goes out MS milliseconds late\n"
    "  lose-reply=N                 the host's reply N to a record frame never reaches the terminal\n"
    "  garble-reply=N               the host's reply N to a record frame reaches the terminal unreadable\n"
    "  late-reply=N:MS              the host's reply N to a record frame arrives MS milliseconds late\n"
    "  lose-packet=N                download packet send N never reaches the terminal\n"
    "  garble-packet=N              download packet send N reaches the terminal damaged\n"
    "  lose-answer=N                the terminal's answer to download packet send N is lost\n"
    "  late-answer=N:MS             the terminal's answer to download packet send N goes out MS late\n";

namespace {

std::optional<long long> Number(std::string_view s, long long max) {
    auto v =
        ParseUnsigned<unsigned long long>(s, static_cast<unsigned long long>(max), NumberBase::DecimalOrHex);
    if (!v) return std::nullopt;
    return static_cast<long long>(*v);
}

std::optional<std::vector<u8>> Unescape(std::string_view s) {
    std::vector<u8> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out.push_back(static_cast<u8>(s[i]));
            continue;
        }
        if (++i >= s.size()) return std::nullopt;
        switch (s[i]) {
            case 'r':
                out.push_back('\r');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case 'x': {
                if (i + 2 >= s.size()) return std::nullopt;
                auto v = Number("0x" + std::string(s.substr(i + 1, 2)), 255);
                if (!v) return std::nullopt;
                out.push_back(static_cast<u8>(*v));
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

struct Shape {
    std::string_view name;
    PeerFaultKind kind;
    std::size_t minArgs, maxArgs;
    enum Layout { kCount, kIndexCountText, kIndexCount, kIndexMs, kMs, kNone, kByte } layout;
};

constexpr Shape kShapes[] = {
    {"refuse-handshake", PeerFaultKind::RefuseHandshake, 1, 2, Shape::kCount},
    {"ignore-handshake", PeerFaultKind::IgnoreHandshake, 1, 1, Shape::kCount},
    {"refuse-packet", PeerFaultKind::RefusePacket, 1, 3, Shape::kIndexCountText},
    {"ignore-packet", PeerFaultKind::IgnorePacket, 1, 2, Shape::kIndexCount},
    {"silent", PeerFaultKind::SilentAfter, 0, 0, Shape::kNone},
    {"silent-after", PeerFaultKind::SilentAfter, 1, 1, Shape::kCount},
    {"repeat-record", PeerFaultKind::RepeatRecord, 1, 1, Shape::kIndexCount},
    {"bad-checksum", PeerFaultKind::BadChecksum, 1, 2, Shape::kIndexCount},
    {"wrong-sequence", PeerFaultKind::WrongSequence, 1, 2, Shape::kIndexCount},
    {"wrong-seq", PeerFaultKind::WrongSequence, 1, 2, Shape::kIndexCount},
    {"pause", PeerFaultKind::Pause, 1, 1, Shape::kMs},
    {"pause-packet", PeerFaultKind::PausePacket, 2, 2, Shape::kIndexMs},
    {"pause-record", PeerFaultKind::PauseRecord, 2, 2, Shape::kIndexMs},
    {"split", PeerFaultKind::Split, 1, 1, Shape::kMs},
    {"cradle-echo", PeerFaultKind::CradleEcho, 1, 1, Shape::kByte},
    {"lose-frame", PeerFaultKind::LoseFrame, 1, 1, Shape::kIndexCount},
    {"garble-frame", PeerFaultKind::GarbleFrame, 1, 1, Shape::kIndexCount},
    {"late-frame", PeerFaultKind::LateFrame, 2, 2, Shape::kIndexMs},
    {"lose-reply", PeerFaultKind::LoseReply, 1, 1, Shape::kIndexCount},
    {"garble-reply", PeerFaultKind::GarbleReply, 1, 1, Shape::kIndexCount},
    {"late-reply", PeerFaultKind::LateReply, 2, 2, Shape::kIndexMs},
    {"lose-packet", PeerFaultKind::LosePacket, 1, 1, Shape::kIndexCount},
    {"garble-packet", PeerFaultKind::GarblePacket, 1, 1, Shape::kIndexCount},
    {"lose-answer", PeerFaultKind::LoseAnswer, 1, 1, Shape::kIndexCount},
    {"late-answer", PeerFaultKind::LateAnswer, 2, 2, Shape::kIndexMs},
};

// Up to `maxArgs` colon-separated arguments; the last one takes the rest (a text may hold colons).
std::vector<std::string_view> SplitArguments(std::string_view rest, std::size_t maxArgs) {
    std::vector<std::string_view> args;
    while (args.size() + 1 < maxArgs) {
        const auto colon = rest.find(':');
        if (colon == std::string_view::npos) break;
        args.push_back(rest.substr(0, colon));
        rest = rest.substr(colon + 1);
    }
    args.push_back(rest);
    return args;
}

// Fills `f` from arguments laid out as `layout` says; the reason when one does not parse.
std::optional<std::string> FillArguments(Shape::Layout layout, const std::vector<std::string_view>& args,
                                         PeerFault& f) {
    auto text = [&](std::size_t i) -> std::optional<std::string> {
        if (args.size() <= i) return std::nullopt;
        auto t = Unescape(args[i]);
        if (!t) return "bad escape in the text";
        f.text = *t;
        return std::nullopt;
    };
    switch (layout) {
        case Shape::kNone:
            f.count = 0;
            return std::nullopt;
        case Shape::kCount: {
            auto n = Number(args[0], 1000000);
            if (!n) return "expected a count";
            f.count = static_cast<int>(*n);
            return text(1);
        }
        case Shape::kIndexCountText:
        case Shape::kIndexCount: {
            auto i = Number(args[0], 1000000);
            if (!i) return "expected a packet or record number";
            f.index = static_cast<int>(*i);
            if (args.size() > 1) {
                auto n = Number(args[1], 1000000);
                if (!n) return "expected a count";
                f.count = static_cast<int>(*n);
            }
            return text(2);
        }
        case Shape::kIndexMs: {
            auto i = Number(args[0], 1000000);
            auto ms = Number(args[1], 3600000);
            if (!i || !ms) return "expected a number and milliseconds";
            f.index = static_cast<int>(*i);
            f.ms = *ms;
            return std::nullopt;
        }
        case Shape::kMs: {
            auto ms = Number(args[0], 3600000);
            if (!ms) return "expected milliseconds";
            f.ms = *ms;
            return std::nullopt;
        }
        case Shape::kByte: {
            auto b = Number(args[0], 255);
            if (!b) return "expected a byte value";
            f.text = {static_cast<u8>(*b)};
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

bool FaultIsIndexed(PeerFaultKind kind) {
    switch (kind) {
        case PeerFaultKind::RefuseHandshake:
        case PeerFaultKind::IgnoreHandshake:
        case PeerFaultKind::SilentAfter:
        case PeerFaultKind::Pause:
        case PeerFaultKind::Split:
        case PeerFaultKind::CradleEcho:
            return false;
        default:
            return true;
    }
}

std::optional<PeerFault> ParsePeerFault(std::string_view text, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<PeerFault> {
        if (error) *error = "bad fault '" + std::string(text) + "': " + why;
        return std::nullopt;
    };
    const auto eq = text.find('=');
    const std::string_view name = text.substr(0, eq);
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes)
        if (s.name == name) shape = &s;
    if (!shape) return fail("unknown fault (see --help)");
    std::vector<std::string_view> args;
    if (eq != std::string_view::npos) args = SplitArguments(text.substr(eq + 1), shape->maxArgs);
    if (args.size() < shape->minArgs || args.size() > shape->maxArgs)
        return fail("wrong number of arguments");
    PeerFault f;
    f.kind = shape->kind;
    if (auto why = FillArguments(shape->layout, args, f)) return fail(*why);
    return f;
}

}  // namespace k52
