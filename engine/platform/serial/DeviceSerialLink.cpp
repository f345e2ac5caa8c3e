#include "engine/platform/serial/DeviceSerialLink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/core/Log.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "serial";
// A frame is a few hundred bytes at most; a write that cannot finish in this
// time means the line is stuck.
constexpr int kWriteTimeoutMs = 200;

}  // namespace

bool SenseSource::Parse(const char* text, SenseSource& out) {
    out = SenseSource{};
    if (text == nullptr || *text == '\0' || std::strcmp(text, "cts") == 0) {
        return true;
    }
    if (std::strcmp(text, "dcd") == 0) {
        out.kind = Kind::Dcd;
    } else if (std::strcmp(text, "dsr") == 0) {
        out.kind = Kind::Dsr;
    } else {
        out.kind = Kind::File;
        out.path = std::strncmp(text, "file:", 5) == 0 ? text + 5 : text;
        if (out.path.empty()) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<DeviceSerialLink> DeviceSerialLink::Open(const std::string& path, const SenseSource& sense) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        LOG_ERROR(kLog, "cannot open %s: %s", path.c_str(), std::strerror(errno));
        return nullptr;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        LOG_ERROR(kLog, "%s is not a serial device: %s", path.c_str(), std::strerror(errno));
        ::close(fd);
        return nullptr;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B115200);
    ::cfsetospeed(&tio, B115200);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        LOG_ERROR(kLog, "cannot set up %s: %s", path.c_str(), std::strerror(errno));
        ::close(fd);
        return nullptr;
    }
    ::tcflush(fd, TCIOFLUSH);
    LOG_INFO(kLog, "opened %s at 115200 8N1", path.c_str());
    return std::unique_ptr<DeviceSerialLink>(new DeviceSerialLink(fd, path, sense));
}

DeviceSerialLink::DeviceSerialLink(int fd, std::string path, SenseSource sense)
    : fd_(fd), path_(std::move(path)), sense_(std::move(sense)) {}

DeviceSerialLink::~DeviceSerialLink() {
    ::close(fd_);
}

int DeviceSerialLink::Write(const uint8_t* data, int length) {
    int done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(length - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            LOG_ERROR(kLog, "write to %s failed: %s", path_.c_str(), std::strerror(errno));
            return -1;
        }
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, kWriteTimeoutMs) <= 0 || (p.revents & (POLLERR | POLLHUP)) != 0) {
            LOG_ERROR(kLog, "write to %s stalled", path_.c_str());
            return done > 0 ? done : -1;
        }
    }
    return done;
}

int DeviceSerialLink::Available() {
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) {
        return -1;
    }
    return waiting;
}

int DeviceSerialLink::Read(uint8_t* buffer, int max, uint32_t timeoutMs) {
    // The wait is the device's own (bytes arrive in real time); the bus keeps
    // each wait short.
    pollfd p{fd_, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, static_cast<int>(timeoutMs));
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return -1;
    }
    if (ready == 0) {
        return 0;
    }
    const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(max));
    if (n > 0) {
        return static_cast<int>(n);
    }
    if (n < 0 && errno == EAGAIN) {
        return 0;
    }
    // Readable with no data, or EIO: the far end hung up.
    LOG_ERROR(kLog, "%s closed by the peer", path_.c_str());
    return -1;
}

int DeviceSerialLink::ReadSense() {
    if (sense_.kind == SenseSource::Kind::File) {
        const int fd = ::open(sense_.path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        ::close(fd);
        if (n != 1 || (c != '0' && c != '1')) {
            return -1;
        }
        return c - '0';
    }
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) != 0) {
        if (!senseWarned_) {
            senseWarned_ = true;
            LOG_ERROR(kLog, "%s has no modem lines (%s); set MARELDON_JVS_SENSE=file:PATH", path_.c_str(),
                      std::strerror(errno));
        }
        return -1;
    }
    const int bit = sense_.kind == SenseSource::Kind::Dcd   ? TIOCM_CAR
                    : sense_.kind == SenseSource::Kind::Dsr ? TIOCM_DSR
                                                            : TIOCM_CTS;
    return (lines & bit) != 0 ? 1 : 0;
}

void DeviceSerialLink::SetRts(bool on) {
    // A pty has no RTS; the line is only a direction hint for RS-485 adapters.
    int bit = TIOCM_RTS;
    ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit);
}

}  // namespace mareldon
