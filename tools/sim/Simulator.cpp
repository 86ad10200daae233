#include "tools/sim/Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <thread>

#include "seriallink/posix/LineControl.h"

namespace quillon_sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 4096;
constexpr std::chrono::milliseconds kVanishGrace{500};
constexpr std::chrono::milliseconds kVanishArrival{50};
constexpr std::uint32_t kBitsPerByte = 10;  // start bit, 8 data bits, stop bit

// How long count bytes take on a wire at rate baud.
[[nodiscard]] std::chrono::microseconds WireTime(std::size_t count, std::uint32_t rate) {
    if (rate == 0) return std::chrono::microseconds{0};
    return std::chrono::microseconds{static_cast<long long>(count) * kBitsPerByte * 1000000 / rate};
}

[[nodiscard]] bool ParseCount(const std::string& text, long long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(text.c_str(), &end, 0);
    return !text.empty() && errno == 0 && end && *end == '\0' && out >= 0;
}

}  // namespace

std::string SimUsage(RoleTable roles) {
    std::string text =
        "Usage: quillon-sim --port-dir DIR --com N --role ROLE [options]\n"
        "Plays the Quillon on a pseudo-terminal linked as DIR/COM<N> until stopped.\n\n"
        "Options:\n"
        "  --pace               take as long as the bytes would on a wire (10 bits a byte)\n"
        "  --log FILE           write the exchange log to FILE (default: standard error)\n"
        "  --report FILE        append what the instrument received to FILE\n"
        "  --quiet              no log on standard error, no report on standard output\n"
        "Faults:\n"
        "  --refuse K:T         refuse unit K (block, record) the first T times; repeatable\n"
        "  --silent             never answer\n"
        "  --silent-first N     leave the first N answers out\n"
        "  --garbage            answer every byte inverted\n"
        "  --garbage-first N    invert the first N answers\n"
        "  --drop FRACTION      leave out this fraction of answers at random (see --seed)\n"
        "  --seed N             seed for --drop (default 1)\n"
        "  --vanish-after K     pull the port after K accepted units\n\nRoles:\n";
    for (const RoleInfo& role : roles) {
        text += "  " + role.name + ": " + role.summary + "\n";
        for (const RoleOption& option : role.options) {
            std::string head = "    --" + option.name;
            if (!option.argument.empty()) head += " " + option.argument;
            head.resize(std::max<std::size_t>(head.size() + 1, 25), ' ');
            text += head + option.help + "\n";
        }
    }
    return text;
}

bool ParseSimArgs(RoleTable roles, const std::vector<std::string>& args, SimOptions& out,
                  std::string& error) {
    // The role first: its options are only known once it is.
    const RoleInfo* role = nullptr;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--role") role = FindRole(roles, args[i + 1]);
    }
    long long number = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        auto count = [&](long long& into) {
            std::string text;
            if (!value(text)) return false;
            if (!ParseCount(text, into)) {
                error = arg + " needs a number, not '" + text + "'";
                return false;
            }
            return true;
        };
        std::string text;
        if (arg == "--port-dir") {
            if (!value(out.portDir)) return false;
        } else if (arg == "--com") {
            if (!count(number)) return false;
            if (number < 1 || number > 0xFFFFFFFF) {
                error = "--com needs a port number from 1";
                return false;
            }
            out.com = static_cast<std::uint32_t>(number);
        } else if (arg == "--role") {
            if (!value(out.role)) return false;
        } else if (arg == "--pace") {
            out.pace = true;
        } else if (arg == "--log") {
            if (!value(out.logPath)) return false;
        } else if (arg == "--report") {
            if (!value(out.reportPath)) return false;
        } else if (arg == "--quiet") {
            out.quiet = true;
        } else if (arg == "--silent") {
            out.faults.silent = true;
        } else if (arg == "--silent-first") {
            if (!count(out.faults.silentFirst)) return false;
        } else if (arg == "--garbage") {
            out.faults.garbage = true;
        } else if (arg == "--garbage-first") {
            if (!count(out.faults.garbageFirst)) return false;
        } else if (arg == "--drop") {
            if (!value(text)) return false;
            char* end = nullptr;
            const double fraction = std::strtod(text.c_str(), &end);
            if (text.empty() || *end != '\0' || !(fraction >= 0.0 && fraction <= 1.0)) {
                error = "--drop needs a fraction from 0 to 1";
                return false;
            }
            out.faults.dropFraction = fraction;
        } else if (arg == "--seed") {
            if (!count(number)) return false;
            out.faults.seed = static_cast<std::uint64_t>(number);
        } else if (arg == "--refuse") {
            if (!value(text)) return false;
            const std::size_t colon = text.find(':');
            long long unit = 0, times = 0;
            if (colon == std::string::npos || !ParseCount(text.substr(0, colon), unit) ||
                !ParseCount(text.substr(colon + 1), times) || unit > 0xFFFFFFFF ||
                times > 1000000) {
                error = "--refuse needs K:T, unit K refused the first T times";
                return false;
            }
            out.faults.refuse.emplace_back(static_cast<std::uint32_t>(unit),
                                           static_cast<int>(times));
        } else if (arg == "--vanish-after") {
            if (!count(out.faults.vanishAfter)) return false;
        } else if (arg.rfind("--", 0) == 0 && role != nullptr) {
            const std::string name = arg.substr(2);
            const RoleOption* option = nullptr;
            for (const RoleOption& known : role->options) {
                if (known.name == name) option = &known;
            }
            if (option == nullptr) {
                error = "unknown option " + arg + " for role " + role->name;
                return false;
            }
            if (option->argument.empty()) {
                out.roleOptions.values[name] = "1";
            } else if (!value(out.roleOptions.values[name])) {
                return false;
            }
        } else {
            error = "unknown argument " + arg;
            return false;
        }
    }
    if (out.portDir.empty() || out.com == 0 || out.role.empty()) {
        error = "--port-dir, --com and --role are required";
        return false;
    }
    if (role == nullptr) {
        error = "unknown role '" + out.role + "'";
        return false;
    }
    out.makeRole = role->make;
    return true;
}

struct Simulator::Impl : Wire {
    explicit Impl(SimOptions o) : options(std::move(o)), random(options.faults.seed) {}

    SimOptions options;
    std::unique_ptr<Role> role;
    int master = -1;
    int slave = -1;
    int wake[2] = {-1, -1};
    std::string linkPath;
    std::atomic<bool> vanished{false};
    bool vanishDue = false;
    bool linked = false;
    Clock::time_point started = Clock::now();
    Clock::time_point lastByte = Clock::now();
    bool idleDue = false;
    std::mt19937_64 random;
    long long answers = 0;
    long long accepted = 0;
    std::map<std::uint32_t, int> arrivals;
    std::ofstream logFile;
    std::ofstream reportFile;

    // Wire ---------------------------------------------------------------------------------
    std::uint32_t ClientRate() const override {
        std::uint32_t rate = 0;
        if (master < 0 || !seriallink::posix::ReadLineRate(master, rate)) return 0;
        return rate;
    }

    void Reply(std::span<const std::uint8_t> bytes, std::string_view note) override {
        ++answers;
        const FaultOptions& faults = options.faults;
        if (faults.silent || answers <= faults.silentFirst) {
            Log("fault: silent instead of " + HexDump(bytes) + "  " + std::string(note));
            return;
        }
        if (faults.dropFraction > 0.0 &&
            std::uniform_real_distribution<double>(0.0, 1.0)(random) < faults.dropFraction) {
            Log("fault: dropped " + HexDump(bytes) + "  " + std::string(note));
            return;
        }
        std::vector<std::uint8_t> sent(bytes.begin(), bytes.end());
        std::string text(note);
        if (faults.garbage || answers <= faults.garbageFirst) {
            for (std::uint8_t& byte : sent) byte = static_cast<std::uint8_t>(~byte);
            text = "fault: garbage instead of " + HexDump(bytes) + "  " + text;
        }
        if (options.pace) std::this_thread::sleep_for(WireTime(sent.size(), ClientRate()));
        WriteAll(sent);
        Log("SIM > " + HexDump(sent) + (text.empty() ? "" : "  " + text));
    }

    bool ShouldRefuse(std::uint32_t unit) override {
        for (const auto& [refused, times] : options.faults.refuse) {
            if (refused != unit) continue;
            const int seen = ++arrivals[unit];
            if (seen <= times) {
                Log("fault: refusing unit " + std::to_string(unit) + " (" + std::to_string(seen) +
                    " of " + std::to_string(times) + ")");
                return true;
            }
            return false;
        }
        return false;
    }

    void UnitAccepted() override {
        ++accepted;
        if (options.faults.vanishAfter >= 0 && accepted >= options.faults.vanishAfter) {
            vanishDue = true;
        }
    }

    void Log(std::string_view text) override {
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "[%9.3f] ", seconds);
        if (logFile.is_open()) {
            logFile << stamp << text << '\n';
            logFile.flush();
        } else if (!options.quiet) {
            std::cerr << stamp << text << '\n';
        }
    }

    void Report(std::string_view text) override {
        if (!options.quiet) std::cout << text << '\n' << std::flush;
        if (reportFile.is_open()) {
            reportFile << text << '\n';
            reportFile.flush();
        }
    }

    // The port -----------------------------------------------------------------------------
    void WriteAll(const std::vector<std::uint8_t>& bytes) {
        std::size_t done = 0;
        while (done < bytes.size() && master >= 0) {
            const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd pfd{master, POLLOUT, 0};
                (void)::poll(&pfd, 1, 100);
            } else {
                Log("write to the port failed: " + std::string(std::strerror(errno)));
                return;
            }
        }
    }

    void Received(const std::uint8_t* data, std::size_t count) {
        std::span<const std::uint8_t> bytes(data, count);
        const std::uint32_t rate = ClientRate();
        const std::uint32_t listening = role->ListenRate();
        if (listening != 0 && rate != listening) {
            // A UART at another rate than its partner's sees only framing errors.
            Log("PC  > " + HexDump(bytes) + "  ignored: sent at " + std::to_string(rate) +
                " baud, listening at " + std::to_string(listening));
            return;
        }
        if (options.pace) std::this_thread::sleep_for(WireTime(count, rate));
        Log("PC  > " + HexDump(bytes));
        role->OnReceive(bytes, *this);
        if (vanishDue) Vanish();
    }

    // The cable is pulled: the name disappears and the client's next read or write fails.
    void Vanish() {
        Log("fault: port vanishes after " + std::to_string(accepted) + " accepted unit(s)");
        Unlink();
        // The last answer was on the wire before the cable went: let the client read it, as
        // closing the master hangs the pty up and flushes what the client has not read yet.
        // The bytes reach the client's queue a moment after the write, so wait for them to
        // show up there and then to be taken; a client that has read them already, or never
        // will, costs a bounded wait.
        const auto start = Clock::now();
        bool seen = false;
        for (;;) {
            int waiting = 0;
            if (::ioctl(slave, FIONREAD, &waiting) != 0) break;
            seen = seen || waiting > 0;
            if (seen && waiting == 0) break;
            const auto elapsed = Clock::now() - start;
            if (elapsed > kVanishGrace || (!seen && elapsed > kVanishArrival)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        CloseFd(master);
        CloseFd(slave);
        vanished = true;
    }

    void Unlink() {
        if (linked) {
            ::unlink(linkPath.c_str());
            linked = false;
        }
    }

    static void CloseFd(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }

    [[nodiscard]] bool CreatePort(std::string& error) {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
            error = "cannot create a pseudo-terminal: " + std::string(std::strerror(errno));
            return false;
        }
        const char* slaveName = ::ptsname(master);
        if (slaveName == nullptr) {
            error = "pseudo-terminal without a name";
            return false;
        }
        // Holding the slave open keeps the pty from hanging up between the client's sessions.
        slave = ::open(slaveName, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0 || !seriallink::posix::MakeRaw(slave)) {
            error = "cannot set up " + std::string(slaveName);
            return false;
        }
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

        ::mkdir(options.portDir.c_str(), 0755);  // may exist already
        linkPath = options.portDir + "/COM" + std::to_string(options.com);
        struct stat st {};
        if (::lstat(linkPath.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                error = linkPath + " exists and is not a link";
                return false;
            }
            ::unlink(linkPath.c_str());  // left behind by a simulator that was killed
        }
        if (::symlink(slaveName, linkPath.c_str()) != 0) {
            error = "cannot create " + linkPath + ": " + std::strerror(errno);
            return false;
        }
        linked = true;
        Log("serving role " + options.role + " on " + linkPath + " -> " + slaveName);
        return true;
    }
};

Simulator::Simulator(SimOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {
    if (::pipe2(impl_->wake, O_CLOEXEC | O_NONBLOCK) != 0) impl_->wake[0] = impl_->wake[1] = -1;
}

Simulator::~Simulator() {
    impl_->Unlink();
    Impl::CloseFd(impl_->master);
    Impl::CloseFd(impl_->slave);
    Impl::CloseFd(impl_->wake[0]);
    Impl::CloseFd(impl_->wake[1]);
}

bool Simulator::Start(std::string& error) {
    Impl& s = *impl_;
    if (s.wake[0] < 0) {
        error = "cannot create the stop pipe";
        return false;
    }
    if (!s.options.makeRole) {
        error = "unknown role '" + s.options.role + "'";
        return false;
    }
    if (!s.options.logPath.empty()) {
        s.logFile.open(s.options.logPath, std::ios::app);
        if (!s.logFile) {
            error = "cannot write the log " + s.options.logPath;
            return false;
        }
    }
    if (!s.options.reportPath.empty()) {
        s.reportFile.open(s.options.reportPath, std::ios::app);
        if (!s.reportFile) {
            error = "cannot write the report " + s.options.reportPath;
            return false;
        }
    }
    s.role = s.options.makeRole(s.options.roleOptions, error);
    if (!s.role) return false;
    return s.CreatePort(error);
}

void Simulator::Run() {
    Impl& s = *impl_;
    if (!s.role || s.master < 0) return;
    if (s.options.faults.vanishAfter == 0) s.Vanish();
    std::uint8_t buffer[kReadChunk];
    while (!s.vanished) {
        int timeoutMs = -1;
        if (s.idleDue) {
            const auto left = s.lastByte + kIdleGap - Clock::now();
            timeoutMs = static_cast<int>(
                std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
        }
        pollfd fds[2] = {{s.master, POLLIN, 0}, {s.wake[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno != EINTR) break;
        if (fds[1].revents != 0) break;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(s.master, buffer, sizeof buffer);
            if (n > 0) {
                s.lastByte = Clock::now();
                s.idleDue = true;
                s.Received(buffer, static_cast<std::size_t>(n));
                continue;
            }
        } else if (fds[0].revents != 0) {
            // No reader on the other side for a moment; do not spin on it.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (s.idleDue && Clock::now() - s.lastByte >= kIdleGap) {
            s.idleDue = false;
            s.role->OnIdle(s);
        }
    }
    s.role->OnStop(s);
    s.Unlink();
    s.Log("stopped");
}

void Simulator::Stop() {
    if (impl_->wake[1] >= 0) {
        const char byte = 1;
        (void)!::write(impl_->wake[1], &byte, 1);
    }
}

bool SimulatorThread::Start(RoleTable roles, const std::vector<std::string>& args,
                            std::string& error) {
    SimOptions options;
    if (!ParseSimArgs(roles, args, options, error)) return false;
    sim_ = std::make_unique<Simulator>(std::move(options));
    if (!sim_->Start(error)) return false;
    thread_ = std::thread([this] { sim_->Run(); });
    return true;
}

void SimulatorThread::Stop() {
    if (sim_) sim_->Stop();
    if (thread_.joinable()) thread_.join();
}

std::string Simulator::LinkPath() const {
    return impl_->linkPath;
}

bool Simulator::Vanished() const {
    return impl_->vanished;
}

}  // namespace quillon_sim
