// A template's JSON text before it is a document: where a character is, how deep the text nests, and the
// parser's complaints cut to a readable length. Messages are in the user's language; the parser's own
// words stay as the library gives them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "textformat/TemplateJson.h"

namespace k52 {

// How much of a long text or key a message quotes before giving its length instead.
constexpr std::size_t kQuotedBytes = 64;

// The first `kQuotedBytes` or so of a long text, cut where a UTF-8 character starts.
std::string_view QuotedPrefix(std::string_view s);

// "line 3, column 7" for the character at `offset`.
std::string TextPosition(std::string_view text, std::size_t offset);

// Where the text first nests arrays and objects deeper than a template ever needs, found without
// building anything: the parse keeps a path per level, so it must never start on such a text.
std::optional<std::string> TooDeepNesting(std::string_view text);

// The library's message with the token it quotes ('...') cut to its start and its length when long.
std::string ShortenQuotedToken(std::string what);

// Where the number `token` first stands in `text` as a whole value (not inside a string), for a failure the
// parser reports without a position (a number beyond any double).
std::optional<std::size_t> NumberOffset(std::string_view text, std::string_view token);

// Where and why the parser gave up on `text`.
std::string JsonParseFailure(std::string_view text, const TemplateJsonValue::parse_error& e);

}  // namespace k52
