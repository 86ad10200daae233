#include "airspace/AirspaceFile.h"

#include <algorithm>
#include <string>

// Reading the file is the platform's part: POSIX here, the Win32 file handle functions in
// win32/AirspaceFileWin32.cpp.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <system_error>
#endif

namespace airspace {
namespace {

#ifndef _WIN32
// Bytes exactly as stored: no line-end translation where the C library would do it, no
// descriptor leaking into child processes where that exists.
#ifdef O_BINARY
constexpr int kBinary = O_BINARY;
#else
constexpr int kBinary = 0;
#endif
#ifdef O_CLOEXEC
constexpr int kCloseOnExec = O_CLOEXEC;
#else
constexpr int kCloseOnExec = 0;
#endif
#ifdef O_NONBLOCK
constexpr int kNonBlocking = O_NONBLOCK;
#else
constexpr int kNonBlocking = 0;
#endif
#endif  // _WIN32

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = "\t ";

bool opensAirspace(std::string_view line) {
    return line.size() >= 2 && (line[0] == 'A' || line[0] == 'a') &&
           (line[1] == 'C' || line[1] == 'c');
}

#ifndef _WIN32
LoadResult systemError(int error) {
    LoadResult result;
    result.status = LoadStatus::SystemError;
    result.systemErrorText = std::system_category().message(error);
    return result;
}

LoadResult readFailed() {
    LoadResult result;
    result.status = LoadStatus::ReadFailed;
    return result;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};
#endif  // _WIN32

}  // namespace

std::vector<AirspaceRecord> parseAirspaces(std::string_view contents) {
    return parseAirspaces(contents, nullptr);
}

std::vector<AirspaceRecord> parseAirspaces(std::string_view contents,
                                           std::vector<ReadProblem>* problems) {
    // An editor's byte-order mark would otherwise hide the first "AC" line, and with it the first
    // airspace.
    if (contents.starts_with(kUtf8ByteOrderMark)) contents.remove_prefix(kUtf8ByteOrderMark.size());

    std::vector<AirspaceRecord> records;
    AirspaceReader reader(problems);
    bool open = false;  // an airspace is being read, from its "AC" line on
    const char* const data = contents.data();
    const std::size_t size = contents.size();
    std::size_t pos = 0;
    std::size_t lineNumber = 0;  // of the file: CR LF, LF and CR each end one line
    while (pos < size) {
        ++lineNumber;
        // The line runs to CR or LF; a "*" anywhere starts a comment that runs to the same end.
        std::size_t end = pos;
        std::size_t content = size;  // end of the part before any comment
        while (end < size && data[end] != '\r' && data[end] != '\n') {
            if (data[end] == '*' && content == size) content = end;
            ++end;
        }
        std::string_view line(data + pos, std::min(end, content) - pos);
        pos = end + 1;
        if (end + 1 < size && data[end] == '\r' && data[end + 1] == '\n') ++pos;

        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string_view::npos) continue;
        line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);

        if (opensAirspace(line)) {
            if (open) reader.finish();
            reader.begin(records.emplace_back(), lineNumber);
            open = true;
        }
        if (open) {
            reader.readLine(line, lineNumber);
        } else {
            // Lines before the first "AC" line belong to no airspace.
            reader.reportOutside(line, lineNumber);
        }
    }
    // The last airspace ends with the file, whether or not its last line has a line end; an "AC"
    // line there opens an airspace of its own like any other.
    if (open) reader.finish();
    return records;
}

#ifndef _WIN32
LoadResult loadAirspaceFile(const std::string& path) {
    // Non-blocking, so that a named pipe given by mistake is refused instead of waited on.
    const FileDescriptor file(
        ::open(path.c_str(), O_RDONLY | kBinary | kCloseOnExec | kNonBlocking));
    if (file.get() < 0) return systemError(errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return systemError(errno);
    if (S_ISDIR(info.st_mode)) return systemError(EISDIR);
    if (!S_ISREG(info.st_mode)) return systemError(EINVAL);
    if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > kMaxAirspaceFileSize) {
        return readFailed();
    }

    const auto size = static_cast<std::size_t>(info.st_size);
    // Left uninitialised: every byte is read over, and clearing 20 MB first costs as much as
    // a good part of the parsing.
    const std::unique_ptr<char[]> contents(new char[size == 0 ? 1 : size]);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.get(), contents.get() + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    if (done < size) return readFailed();

    LoadResult result;
    result.records = parseAirspaces(std::string_view(contents.get(), size));
    return result;
}
#endif  // _WIN32

}  // namespace airspace
