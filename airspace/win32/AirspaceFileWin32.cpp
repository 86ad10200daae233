// Reading an airspace file on Windows: by handle, opened without sharing so that no editor
// changes it while it is read, and failures in the system's own words, in the user's language,
// as the Windows program shows them. Names and texts are UTF-8 on this side and UTF-16 on the
// system's, so that a folder named "Lufträume" or "Données" opens whatever the code page.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>
#include <string>

#include "airspace/AirspaceFile.h"

namespace airspace {
namespace {

// One ReadFile call reads at most this much; the loop reads the rest.
constexpr DWORD kReadChunk = DWORD{1} << 24;

std::string toUtf8(const wchar_t* text, int length) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// The name as UTF-16; false when it is not UTF-8 (a name in the code page, opened as it is).
bool toWide(const std::string& text, std::wstring& out) {
    if (text.empty()) return false;
    const int length = static_cast<int>(text.size());
    const int size =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (size <= 0) return false;
    out.assign(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out.data(), size);
    return true;
}

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length != 0 && text != nullptr ? toUtf8(text, static_cast<int>(length))
                                                         : "System error " + std::to_string(error);
    if (text != nullptr) ::LocalFree(text);
    // The system's texts end in a line break, which a message box line does not want.
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

LoadResult systemError(DWORD error) {
    LoadResult result;
    result.status = LoadStatus::SystemError;
    result.systemErrorText = systemMessage(error);
    return result;
}

LoadResult readFailed() {
    LoadResult result;
    result.status = LoadStatus::ReadFailed;
    return result;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    [[nodiscard]] HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

HANDLE openForReading(const std::string& path) {
    std::wstring wide;
    if (toWide(path, wide)) {
        return ::CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

LoadResult loadAirspaceFile(const std::string& path) {
    const FileHandle file(openForReading(path));
    if (file.get() == INVALID_HANDLE_VALUE) return systemError(::GetLastError());
    // A device name such as COM1 or CON opens too, and a read from it would wait for input:
    // only files on a disk are read.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return systemError(ERROR_INVALID_FUNCTION);
    LARGE_INTEGER fileSize{};
    if (!::GetFileSizeEx(file.get(), &fileSize)) return systemError(::GetLastError());
    if (fileSize.QuadPart < 0 ||
        static_cast<unsigned long long>(fileSize.QuadPart) > kMaxAirspaceFileSize) {
        return readFailed();
    }

    const auto size = static_cast<std::size_t>(fileSize.QuadPart);
    const std::unique_ptr<char[]> contents(new char[size == 0 ? 1 : size]);
    std::size_t done = 0;
    while (done < size) {
        const DWORD wanted =
            size - done < kReadChunk ? static_cast<DWORD>(size - done) : kReadChunk;
        DWORD got = 0;
        if (!::ReadFile(file.get(), contents.get() + done, wanted, &got, nullptr) || got == 0) {
            break;
        }
        done += got;
    }
    if (done < size) return readFailed();

    LoadResult result;
    result.records =
        parseAirspaces(std::string_view(contents.get(), size), nullptr, &result.header);
    return result;
}

}  // namespace airspace
