#include "airspace/AirspaceFile.h"

#include <algorithm>
#include <functional>
#include <future>
#include <string>
#include <unordered_map>

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

// "VERSION: 2.0" or "WRITTEN_BY: openAIP" (the text after the star); other comments are none of
// the header's business.
void readHeaderComment(std::string_view comment, OpenAirHeader& header) {
    const auto trimmed = [](std::string_view s) {
        const std::size_t first = s.find_first_not_of(kBlanks);
        if (first == std::string_view::npos) return std::string_view{};
        return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
    };
    comment = trimmed(comment);
    const std::size_t colon = comment.find(':');
    if (colon == std::string_view::npos) return;
    std::string name(trimmed(comment.substr(0, colon)));
    for (char& c : name) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    const std::string_view value = trimmed(comment.substr(colon + 1));
    if (name == "VERSION" && header.version.empty()) header.version = value;
    if (name == "WRITTEN_BY" && header.writtenBy.empty()) header.writtenBy = value;
}

}  // namespace

std::vector<AirspaceRecord> parseAirspaces(std::string_view contents) {
    return parseAirspaces(contents, nullptr);
}

std::vector<AirspaceRecord> parseAirspaces(std::string_view contents,
                                           std::vector<ReadProblem>* problems) {
    return parseAirspaces(contents, problems, nullptr);
}

std::vector<AirspaceRecord> parseAirspaces(std::string_view contents,
                                           std::vector<ReadProblem>* problems,
                                           OpenAirHeader* header) {
    OpenAirHeader read;
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
        // The header is in the comments before the first airspace.
        if (!open && content < end) {
            readHeaderComment(std::string_view(data + content + 1, end - content - 1), read);
            if (problems && read.openAir2()) reader.setOpenAir2(true);
        }
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
    if (problems && read.openAir2() && read.writtenBy.empty()) {
        problems->push_back({0,
                             ReadProblemKind::FormatRule,
                             {},
                             "an OpenAir 2.0 file names its writer in its header "
                             "(*WRITTEN_BY: ...)"});
    }
    if (header) *header = std::move(read);
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
    result.records =
        parseAirspaces(std::string_view(contents.get(), size), nullptr, &result.header);
    return result;
}
#endif  // _WIN32

bool sameAirspace(const AirspaceRecord& a, const AirspaceRecord& b) {
    const auto bytesA = a.storedBytes();
    const auto bytesB = b.storedBytes();
    return a.name == b.name && a.floor == b.floor && a.ceiling == b.ceiling &&
           std::equal(bytesA.begin(), bytesA.end(), bytesB.begin(), bytesB.end());
}

namespace {

std::size_t airspaceHash(const AirspaceRecord& record) {
    const auto bytes = record.storedBytes();
    const std::hash<std::string_view> hash;
    std::size_t h = hash(record.name);
    h = h * 31 + hash(record.floor);
    h = h * 31 + hash(record.ceiling);
    return h * 31 +
           hash(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

std::size_t appendAirspaces(std::vector<AirspaceRecord>& records, std::vector<AirspaceRecord> more,
                            std::size_t fileIndex) {
    // Only earlier files count: an airspace stacked twice in one file stays twice, as it always
    // did.
    std::unordered_multimap<std::size_t, std::size_t> earlier;
    earlier.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].fileIndex != fileIndex) earlier.emplace(airspaceHash(records[i]), i);
    }
    std::size_t left = 0;
    records.reserve(records.size() + more.size());
    for (AirspaceRecord& record : more) {
        record.fileIndex = fileIndex;
        // The first of them in list order notes the file: copies stacked in one file stay apart.
        std::size_t same = records.size();
        const auto [first, last] = earlier.equal_range(airspaceHash(record));
        for (auto entry = first; entry != last; ++entry) {
            if (entry->second < same && sameAirspace(records[entry->second], record)) {
                same = entry->second;
            }
        }
        if (same == records.size()) {
            records.push_back(std::move(record));
            continue;
        }
        std::vector<std::size_t>& also = records[same].alsoInFiles;
        if (std::find(also.begin(), also.end(), fileIndex) == also.end()) also.push_back(fileIndex);
        ++left;
    }
    return left;
}

FilesLoadResult loadAirspaceFiles(const std::vector<std::string>& paths) {
    FilesLoadResult result;
    // The files are independent until they are put together: read them side by side. A file
    // named twice is read once: Windows opens a file without sharing, so a second reader at the
    // same time would fail.
    std::vector<std::future<LoadResult>> loads(paths.size());
    std::vector<std::size_t> sameAs(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        sameAs[i] = static_cast<std::size_t>(
            std::find(paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(i), paths[i]) -
            paths.begin());
        if (sameAs[i] != i) continue;
        loads[i] = std::async(paths.size() > 1 ? std::launch::async : std::launch::deferred,
                              [&path = paths[i]] { return loadAirspaceFile(path); });
    }
    std::vector<LoadResult> loaded(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (sameAs[i] == i) loaded[i] = loads[i].get();
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (sameAs[i] != i) loaded[i] = loaded[sameAs[i]];
    }
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (loaded[i].status == LoadStatus::Ok) continue;
        result.status = loaded[i].status;
        result.systemErrorText = std::move(loaded[i].systemErrorText);
        result.failedFile = i;
        return result;
    }
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        result.headers.push_back(std::move(loaded[i].header));
        result.counts.push_back(loaded[i].records.size());
        if (i == 0) {
            result.records = std::move(loaded[i].records);
        } else {
            result.duplicates += appendAirspaces(result.records, std::move(loaded[i].records), i);
        }
    }
    return result;
}

}  // namespace airspace
