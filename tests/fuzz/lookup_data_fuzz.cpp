// A lookup data file of any bytes, read in each encoding: records fit a packet and hold no line end and
// no NUL, a refusal names a place in the file (or that it has no records) and a problem scripts can name, and
// a file read as CP950 loses no byte but its line ends.
#include <algorithm>

#include "FuzzInput.h"
#include "transfer/LookupData.h"

using namespace k52;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const std::uint8_t choice = in.Byte();
    const LookupOptions options{static_cast<LookupEncoding>(choice % 3), choice >= 128};
    const std::string_view bytes = in.Take(in.remaining());
    const LookupData result = ReadLookupData(bytes, options);

    if (result.refusal) {
        K52_FUZZ_CHECK(result.records.empty());
        K52_FUZZ_CHECK(result.refusal->line >= 1 || result.refusal->problem == LookupProblem::NoRecords);
        K52_FUZZ_CHECK(LookupProblemOfCode(LookupProblemCode(result.refusal->problem)) ==
                       result.refusal->problem);
        return 0;
    }
    K52_FUZZ_CHECK(!result.records.empty() || options.allowEmpty);
    std::size_t lastEnd = 0;
    std::size_t kept = 0;
    for (const LookupRecord& r : result.records) {
        K52_FUZZ_CHECK(r.data.size() <= kLookupRecordLimit);
        K52_FUZZ_CHECK(r.data.find('\r') == std::string::npos);
        K52_FUZZ_CHECK(r.data.find('\0') == std::string::npos);
        K52_FUZZ_CHECK(r.fileEnd >= lastEnd);
        K52_FUZZ_CHECK(r.fileEnd <= bytes.size());
        lastEnd = r.fileEnd;
        kept += r.data.size();
    }
    if (!result.convertedFromUtf8) {
        // Sent unchanged: every byte but CR and LF reaches a record.
        const auto lineEnds = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r') +
                                                       std::count(bytes.begin(), bytes.end(), '\n'));
        K52_FUZZ_CHECK(kept == bytes.size() - lineEnds);
    }
    return 0;
}
