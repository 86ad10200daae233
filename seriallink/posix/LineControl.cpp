#include "seriallink/posix/LineControl.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace seriallink::posix {
namespace {

struct RateConstant {
    std::uint32_t rate;
    unsigned constant;
};

constexpr RateConstant kRates[] = {
    {50, B50},         {75, B75},         {110, B110},         {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},         {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},       {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},   {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000},
};

[[nodiscard]] bool Get(int fd, termios2& tio) {
    return ioctl(fd, TCGETS2, &tio) == 0;
}
[[nodiscard]] bool Set(int fd, const termios2& tio) {
    return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace

bool MakeRaw(int fd) {
    termios2 tio{};
    if (!Get(fd, tio)) return false;
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CLOCAL | CREAD;
    // With O_NONBLOCK, VMIN 1 makes an empty read answer EAGAIN, so that a read of 0 bytes
    // can only mean the device hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    return Set(fd, tio);
}

bool ReadLine(int fd, LineSettings& out) {
    termios2 tio{};
    if (!Get(fd, tio)) return false;
    out.baudRate = tio.c_ospeed;
    switch (tio.c_cflag & CSIZE) {
        case CS5:
            out.dataBits = 5;
            break;
        case CS6:
            out.dataBits = 6;
            break;
        case CS7:
            out.dataBits = 7;
            break;
        default:
            out.dataBits = 8;
            break;
    }
    if ((tio.c_cflag & PARENB) == 0) {
        out.parity = Parity::None;
    } else {
        out.parity = (tio.c_cflag & PARODD) != 0 ? Parity::Odd : Parity::Even;
    }
    out.stopBits = (tio.c_cflag & CSTOPB) != 0 ? StopBits::Two : StopBits::One;
    return true;
}

bool WriteLine(int fd, const LineSettings& settings) {
    termios2 tio{};
    if (!Get(fd, tio)) return false;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CBAUD | CIBAUD);
    switch (settings.dataBits) {
        case 5:
            tio.c_cflag |= CS5;
            break;
        case 6:
            tio.c_cflag |= CS6;
            break;
        case 7:
            tio.c_cflag |= CS7;
            break;
        default:
            tio.c_cflag |= CS8;
            break;
    }
    if (settings.parity != Parity::None) tio.c_cflag |= PARENB;
    if (settings.parity == Parity::Odd) tio.c_cflag |= PARODD;
    if (settings.stopBits == StopBits::Two) tio.c_cflag |= CSTOPB;
    // A standard rate goes by its constant, which every driver knows; any other (14400, 56000,
    // 128000, 256000) by BOTHER, which drivers that can divide freely accept.
    unsigned constant = BOTHER;
    for (const RateConstant& known : kRates) {
        if (known.rate == settings.baudRate) constant = known.constant;
    }
    tio.c_cflag |= constant;
    tio.c_ispeed = settings.baudRate;
    tio.c_ospeed = settings.baudRate;
    return Set(fd, tio);
}

bool ReadLineRate(int fd, std::uint32_t& rate) {
    termios2 tio{};
    if (!Get(fd, tio)) return false;
    rate = tio.c_ospeed;
    return true;
}

void RequestLowLatency(int fd) {
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
    serial.flags |= ASYNC_LOW_LATENCY;
    (void)ioctl(fd, TIOCSSERIAL, &serial);
}

}  // namespace seriallink::posix
