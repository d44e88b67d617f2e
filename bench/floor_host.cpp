// The floor's download as a program of its own, for comparing whole programs with k52cli: it needs
// nothing beyond the C library, so its start is as small as a host's can be.
//
//   floor_host DEVICE SPEED PACKETS     (PACKETS: the image packets one after another, as floor_bench
//                                        writes them; exit 0 once every one was acknowledged, 1 when
//                                        one was not or the device would not open)
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "FloorHosts.h"
#include "protocol/Protocol.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    static unsigned char packets[k52::kImagePacketCount * k52::kImagePacketSize];
    const int in = open(argv[3], O_RDONLY | O_CLOEXEC);
    if (in < 0) return 3;
    const bool whole = read(in, packets, sizeof packets) == static_cast<ssize_t>(sizeof packets);
    close(in);
    if (!whole) return 3;
    const auto speed = static_cast<std::uint32_t>(std::atol(argv[2]));
    const k52::bench::FloorRun run =
        k52::bench::FloorDownload(argv[1], speed, packets, k52::kImagePacketCount, k52::kImagePacketSize);
    return run.ok ? 0 : 1;
}
