// Wall-clock times as the collection station writes them: in file names and in the ledger, local time.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace k52 {

// "2024-05-01_183005": sorts by time and is a valid file name everywhere.
std::string LocalFileStamp(std::time_t t);
// "2024-05-01T18:30:05+08:00": ISO 8601 with the UTC offset in force at that moment.
std::string LocalIsoTime(std::time_t t);
// "2024-05-01T10:30:05Z": the same moment in UTC, so that times compare as text across offsets and
// daylight-saving changes.
std::string UtcIsoTime(std::time_t t);
// The moment a date names: "2024-05-01", "2024-05-01T18:30[:05]" (or with a space), optionally ending
// in "Z" or an offset "+08:00"; without one it is local time. nullopt for anything that is no date.
std::optional<std::time_t> ParseInstant(const std::string& text);

}  // namespace k52
