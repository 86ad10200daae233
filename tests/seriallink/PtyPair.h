// A pseudo-terminal attached as DIR/COM<n> in a fresh port directory, with the test holding the
// instrument's side (the master). The port directory is removed again on destruction.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "seriallink/ComPorts.h"
#include "seriallink/posix/LineControl.h"

namespace seriallink::testing {

// A temporary port directory, made the process's KORVALIS_PORT_DIR while it lives.
class PortDir {
public:
    PortDir() {
        char pattern[] = "/tmp/quillon-ports-XXXXXX";
        path_ = ::mkdtemp(pattern);
        ::setenv(kPortDirVariable, path_.c_str(), 1);
    }
    ~PortDir() {
        ::unsetenv(kPortDirVariable);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PortDir(const PortDir&) = delete;
    PortDir& operator=(const PortDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string Entry(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

class PtyPair {
public:
    explicit PtyPair(const PortDir& dir, const std::string& name = "COM7") {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        (void)::grantpt(master_);
        (void)::unlockpt(master_);
        slaveName_ = ::ptsname(master_);
        // Held open so that the pty does not hang up between the port's opens and closes.
        slave_ = ::open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        (void)posix::MakeRaw(slave_);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        link_ = dir.Entry(name);
        (void)::symlink(slaveName_.c_str(), link_.c_str());
    }
    ~PtyPair() { Unplug(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // The cable is pulled: the name goes and both sides close.
    void Unplug() {
        if (!link_.empty()) ::unlink(link_.c_str());
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
        master_ = slave_ = -1;
    }

    // The instrument sends.
    void Send(const std::vector<std::uint8_t>& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd pfd{master_, POLLOUT, 0};
                (void)::poll(&pfd, 1, 100);
            }
        }
    }

    // What the port wrote, collected until `quiet` passes without a byte.
    [[nodiscard]] std::vector<std::uint8_t> Received(
        std::chrono::milliseconds quiet = std::chrono::milliseconds(30)) const {
        std::vector<std::uint8_t> bytes;
        for (;;) {
            pollfd pfd{master_, POLLIN, 0};
            if (::poll(&pfd, 1, static_cast<int>(quiet.count())) <= 0) return bytes;
            std::uint8_t chunk[256];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0) return bytes;
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
    }

    // The rate the port set on its side.
    [[nodiscard]] std::uint32_t ClientRate() const {
        std::uint32_t rate = 0;
        (void)posix::ReadLineRate(master_, rate);
        return rate;
    }

    [[nodiscard]] const std::string& link() const { return link_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
    std::string link_;
};

// Elapsed time of a call, in milliseconds.
template <typename F>
[[nodiscard]] double MillisecondsOf(F&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace seriallink::testing
