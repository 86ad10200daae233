// The Intel HEX reader on any file content. What it accepts must be lines the loader packets
// can be built from: record lines of valid length, the end record last.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "seriallink/HexFile.h"

namespace {

// One in-memory file for all inputs, reached by a path as the reader wants it.
int MemoryFile() {
    static const int fd = ::memfd_create("hex-input", 0);
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = MemoryFile();
    if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
    if (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    std::vector<std::string> lines;
    if (!seriallink::LoadHexFile("/proc/self/fd/" + std::to_string(fd), lines)) return 0;
    if (lines.empty() || lines.back() != seriallink::kHexEndRecord) std::abort();
    for (const std::string& line : lines) {
        if (line.size() < seriallink::kHexMinLine || line.size() > seriallink::kHexMaxLine ||
            line[0] != ':') {
            std::abort();
        }
        std::string bytes;
        if (!seriallink::HexToBytes(std::string_view(line).substr(1), bytes)) std::abort();
    }
    return 0;
}
