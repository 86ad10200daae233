// The POSIX back end: a tty opened exclusively, put into raw mode, with the Win32 read and
// write time-outs realised by ppoll() on a non-blocking descriptor.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "seriallink/ComPorts.h"
#include "seriallink/SerialBackend.h"
#include "seriallink/posix/LineControl.h"

namespace seriallink {
namespace {

using Clock = std::chrono::steady_clock;

[[nodiscard]] OpenStatus StatusOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return OpenStatus::NotFound;
        case EBUSY:
        case EWOULDBLOCK:
            return OpenStatus::Busy;
        case EACCES:
        case EPERM:
            return OpenStatus::NoPermission;
        default:
            // EIO is what a ttyS placeholder without a UART answers: not a port.
            return OpenStatus::Failed;
    }
}

// Waits for events on fd until deadline (none: wait for ever). Returns poll's result.
[[nodiscard]] int WaitFor(int fd, short events, const Clock::time_point* deadline, short& revents) {
    pollfd pfd{fd, events, 0};
    for (;;) {
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (deadline) {
            const auto left = std::max(Clock::duration::zero(), *deadline - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
            timeoutPtr = &timeout;
        }
        const int result = ppoll(&pfd, 1, timeoutPtr, nullptr);
        if (result < 0 && errno == EINTR) continue;
        revents = pfd.revents;
        return result;
    }
}

class PosixBackend : public SerialBackend {
public:
    ~PosixBackend() override { (void)Close(); }

    OpenStatus Open(const std::string& devicePath) override {
        (void)Close();
        std::string device;
        if (!DeviceOfPath(devicePath, device)) return OpenStatus::NotFound;
        int fd = -1;
        const OpenStatus status = OpenDescriptor(device, true, fd);
        if (status == OpenStatus::Ok) {
            fd_ = fd;
            timeouts_ = Timeouts{};
        }
        return status;
    }

    // The lock stays on the descriptor in hand until the new one is open; the old one is then
    // kept, for as long as the port is open, only to hold it. A second program trying to open
    // the port in between is refused as at any other time.
    OpenStatus Reopen(const std::string& devicePath) override {
        if (fd_ < 0) return Open(devicePath);
        std::string device;
        if (!DeviceOfPath(devicePath, device)) {
            (void)Close();
            return OpenStatus::NotFound;
        }
        // Our own new open must pass the exclusive flag set by the first.
        (void)::ioctl(fd_, TIOCNXCL);
        const int fd = ::open(device.c_str(), kOpenFlags);
        if (fd < 0) {
            const int error = errno;
            (void)Close();
            return StatusOfErrno(error);
        }
        const int holder = lockFd_ >= 0 ? lockFd_ : fd_;
        if (!SameDevice(holder, fd)) {
            // The name leads elsewhere now: the old lock guards nothing.
            ::close(fd);
            (void)Close();
            return Open(devicePath);
        }
        if (!FinishOpen(fd)) {
            ::close(fd);
            (void)Close();
            return OpenStatus::Failed;
        }
        if (lockFd_ < 0) {
            lockFd_ = fd_;
        } else {
            ::close(fd_);
        }
        fd_ = fd;
        timeouts_ = Timeouts{};
        return OpenStatus::Ok;
    }

    bool IsOpen() const override { return fd_ >= 0; }

    bool GetLineSettings(LineSettings& out) override {
        return fd_ >= 0 && posix::ReadLine(fd_, out);
    }

    bool SetLineSettings(const LineSettings& settings) override {
        return fd_ >= 0 && posix::WriteLine(fd_, settings);
    }

    bool GetTimeouts(Timeouts& out) override {
        if (fd_ < 0) return false;
        out = timeouts_;
        return true;
    }

    bool SetTimeouts(const Timeouts& timeouts) override {
        if (fd_ < 0) return false;
        timeouts_ = timeouts;
        return true;
    }

    bool Read(std::uint8_t* data, std::size_t count, std::size_t& got) override {
        got = 0;
        if (fd_ < 0) return false;
        if (count == 0) return true;
        if (timeouts_.IsImmediate()) return ReadSome(data, count, got);

        const std::uint64_t totalMs =
            std::uint64_t{timeouts_.readTotalMultiplier} * count + timeouts_.readTotalConstant;
        const bool useInterval =
            timeouts_.readInterval != 0 && timeouts_.readInterval != Timeouts::kNoWait;
        const Clock::time_point totalDeadline = Clock::now() + std::chrono::milliseconds(totalMs);
        while (got < count) {
            Clock::time_point deadline = totalDeadline;
            bool limited = totalMs > 0;
            if (useInterval && got > 0) {
                const auto gapEnd =
                    Clock::now() + std::chrono::milliseconds(timeouts_.readInterval);
                deadline = limited ? std::min(deadline, gapEnd) : gapEnd;
                limited = true;
            }
            short revents = 0;
            const int ready = WaitFor(fd_, POLLIN, limited ? &deadline : nullptr, revents);
            if (ready < 0) return false;
            if (ready == 0) return true;                // timed out: what arrived is the result
            if ((revents & POLLIN) == 0) return false;  // hung up or error, nothing to read
            std::size_t more = 0;
            if (!ReadSome(data + got, count - got, more)) return false;
            got += more;
        }
        return true;
    }

    bool Write(const std::uint8_t* data, std::size_t count, std::size_t& written) override {
        written = 0;
        if (fd_ < 0) return false;
        const std::uint64_t totalMs =
            std::uint64_t{timeouts_.writeTotalMultiplier} * count + timeouts_.writeTotalConstant;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(totalMs);
        while (written < count) {
            const ssize_t n = ::write(fd_, data + written, count - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) return false;
            short revents = 0;
            const int ready = WaitFor(fd_, POLLOUT, totalMs > 0 ? &deadline : nullptr, revents);
            if (ready < 0) return false;
            if (ready == 0) return true;  // timed out with part of it written
            if ((revents & POLLOUT) == 0) return false;
        }
        return true;
    }

    bool Close() override {
        if (fd_ < 0) return true;
        // The exclusive flag belongs to the tty, not to our descriptor: left set, it would keep
        // the next user out of a device that stays open elsewhere (a pty's other side).
        (void)::ioctl(fd_, TIOCNXCL);
        // Linux releases the descriptor even when close reports an error; there is nothing
        // left to retry, so the port counts as closed.
        (void)::close(fd_);
        fd_ = -1;
        if (lockFd_ >= 0) {
            (void)::close(lockFd_);
            lockFd_ = -1;
        }
        return true;
    }

    void Sleep(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }

private:
    static constexpr int kOpenFlags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

    // The device behind a path "//./COMn" (or a device path as it is).
    [[nodiscard]] static bool DeviceOfPath(const std::string& devicePath, std::string& device) {
        device = devicePath;
        const std::string prefix = kDevicePathPrefix;
        if (devicePath.compare(0, prefix.size(), prefix) == 0) {
            device = DeviceOfPortName(devicePath.substr(prefix.size()));
        }
        return !device.empty();
    }

    [[nodiscard]] static OpenStatus OpenDescriptor(const std::string& device, bool lock, int& out) {
        const int fd = ::open(device.c_str(), kOpenFlags);
        if (fd < 0) return StatusOfErrno(errno);
        // "Without sharing": TIOCEXCL keeps other users out, but not root; the advisory lock
        // is what every program of ours (and most serial software) respects, root included.
        if (lock && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? OpenStatus::Busy : OpenStatus::Failed;
        }
        if (!FinishOpen(fd)) {
            ::close(fd);
            return OpenStatus::Failed;  // not a terminal
        }
        out = fd;
        return OpenStatus::Ok;
    }

    // Raw mode, the exclusive flag and low latency on a descriptor just opened.
    [[nodiscard]] static bool FinishOpen(int fd) {
        if (!posix::MakeRaw(fd)) return false;
        (void)::ioctl(fd, TIOCEXCL);
        // Stop-and-wait protocols pay the adapter's latency timer on every answer (16 ms by
        // default on FTDI chips); drivers without the mode refuse, which changes nothing.
        posix::RequestLowLatency(fd);
        return true;
    }

    [[nodiscard]] static bool SameDevice(int a, int b) {
        struct stat sa {};
        struct stat sb {};
        return ::fstat(a, &sa) == 0 && ::fstat(b, &sb) == 0 && sa.st_rdev == sb.st_rdev;
    }

    // One non-blocking read of what is waiting.
    [[nodiscard]] bool ReadSome(std::uint8_t* data, std::size_t count, std::size_t& got) {
        got = 0;
        for (;;) {
            const ssize_t n = ::read(fd_, data, count);
            if (n > 0) {
                got = static_cast<std::size_t>(n);
                return true;
            }
            if (n == 0) return false;  // end of file: the device is gone
            if (errno == EINTR) continue;
            return errno == EAGAIN;
        }
    }

    int fd_ = -1;
    int lockFd_ = -1;  // after a reopen: the first descriptor, kept only for its lock
    Timeouts timeouts_{};
};

}  // namespace

std::unique_ptr<SerialBackend> MakePlatformBackend() {
    return std::make_unique<PosixBackend>();
}

}  // namespace seriallink
