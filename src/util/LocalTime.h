// Wall-clock times as the collection station writes them: in file names and in the ledger, local time.
#pragma once

#include <ctime>
#include <string>

namespace k52 {

// "2024-05-01_183005": sorts by time and is a valid file name everywhere.
std::string LocalFileStamp(std::time_t t);
// "2024-05-01T18:30:05+08:00": ISO 8601 with the UTC offset in force at that moment.
std::string LocalIsoTime(std::time_t t);

}  // namespace k52
