// gradel-boxsim: a simulated interface box on a pseudo-terminal.
//
// The box streams its readings at the pace of a 115200-baud line, answers the program's
// commands, and notices when the program opens and closes the terminal's other end (the
// terminal hangs up while nobody has it open): it sends its connect messages each time the
// program comes, and goes on serving when the program goes and comes back.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tools/boxsim/Box.h"
#include "tools/boxsim/Options.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kLineBytesPerSecond = 11520;  // 115200 baud, 10 bits a character
constexpr double kConnectDelay = 0.2;          // after the program opens its end
constexpr std::size_t kQueueLimit = 65536;     // beyond this, old output is lost as on a line

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) {
    g_stop = 1;
}

struct Pty {
    int master = -1;
    std::string path;
};

bool openPty(Pty& pty) {
    pty.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0 || ::grantpt(pty.master) != 0 || ::unlockpt(pty.master) != 0) return false;
    const char* name = ::ptsname(pty.master);
    if (!name) return false;
    pty.path = name;
    // Raw line, so nothing is echoed or cooked before the program sets its own settings. The
    // terminal keeps these after this end is closed again.
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) return false;
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    ::tcsetattr(slave, TCSANOW, &t);
    ::close(slave);
    ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);
    return true;
}

bool makeLink(const std::string& link, const std::string& target) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) return false;  // never replace a real file
        ::unlink(link.c_str());
    }
    return ::symlink(target.c_str(), link.c_str()) == 0;
}

class Simulator {
  public:
    explicit Simulator(const boxsim::Options& o)
        : o_(o), box_(o.scales, o.motion, o.startMode), rng_(o.seed), start_(Clock::now()) {}

    int run(Pty& pty);
    // "sent B bytes R readings N noise": bytes written to the terminal, readings and noise
    // bytes queued for it (some of the last may not have gone out when the box stopped).
    std::string report() const;

  private:
    double elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    void log(const std::string& text) const {
        if (o_.verbose) std::fprintf(stderr, "boxsim %.3f: %s\n", elapsed(), text.c_str());
    }
    void stream(double now);
    double pollMs(double now) const;
    void noise();
    void flush(int fd, double now);
    void read(int fd, double now);

    const boxsim::Options& o_;
    boxsim::Box box_;
    std::mt19937 rng_;
    Clock::time_point start_;
    bool connected_ = false;
    double connectAt_ = -1;
    double nextRound_ = 0;
    double budget_ = 0;  // bytes the line may carry now
    double budgetTime_ = 0;
    std::string queue_;  // output not yet on the line
    long long sentBytes_ = 0;
    long long readings_ = 0;
    long long noiseBytes_ = 0;
};

std::string Simulator::report() const {
    return "sent " + std::to_string(sentBytes_) + " bytes " + std::to_string(readings_) +
           " readings " + std::to_string(noiseBytes_) + " noise";
}

void Simulator::noise() {
    std::uniform_real_distribution<double> chance(0, 1);
    if (chance(rng_) >= o_.noise) return;
    const std::size_t before = queue_.size();
    switch (std::uniform_int_distribution<int>(0, 5)(rng_)) {
        case 0:
            queue_ += '\r';
            break;
        case 1:
            queue_ += '\n';
            break;
        case 2:
            queue_ += "\r\n";
            break;
        case 3:
            queue_ += '\0';
            break;
        case 4: {  // text without a colon, as a babbling device would send
            const int n = std::uniform_int_distribution<int>(8, 80)(rng_);
            for (int i = 0; i < n; ++i)
                queue_ += static_cast<char>(std::uniform_int_distribution<int>(';', '~')(rng_));
            break;
        }
        default: {
            const int n = std::uniform_int_distribution<int>(1, 3)(rng_);
            for (int i = 0; i < n; ++i)
                queue_ += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng_));
        }
    }
    noiseBytes_ += static_cast<long long>(queue_.size() - before);
}

void Simulator::stream(double now) {
    const int mode = box_.mode();
    if (!connected_ || mode == 0) {
        nextRound_ = now;
        return;
    }
    // Like a box waiting for its UART, no new readings while a tenth of a second of output is
    // still waiting for the line.
    const auto backlog = static_cast<std::size_t>(kLineBytesPerSecond / 10);
    auto round = [&] {
        for (std::size_t i = 0; i < box_.scales().size(); ++i) {
            noise();
            queue_ += box_.reading(i, now);
            ++readings_;
        }
    };
    const double rate = mode == 2 ? o_.fastRate : o_.slowRate;
    if (rate <= 0) {  // as fast as the line goes
        while (queue_.size() < backlog) round();
        return;
    }
    for (int n = 0; now >= nextRound_ && n < 1000; ++n) {
        if (queue_.size() < backlog) round();
        nextRound_ += 1.0 / rate;
    }
    if (nextRound_ < now) nextRound_ = now + 1.0 / rate;  // fell far behind: no burst
}

double Simulator::pollMs(double now) const {
    if (!connected_ || box_.mode() == 0) return 5;
    return std::clamp((nextRound_ - now) * 1000, 1.0, 5.0);
}

void Simulator::flush(int fd, double now) {
    budget_ =
        std::min(budget_ + (now - budgetTime_) * kLineBytesPerSecond, kLineBytesPerSecond / 10);
    budgetTime_ = now;
    if (queue_.size() > kQueueLimit) queue_.erase(0, queue_.size() - kQueueLimit);
    const auto allowed = static_cast<std::size_t>(budget_);
    const std::size_t n = std::min(allowed, queue_.size());
    if (n == 0) return;
    const ssize_t w = ::write(fd, queue_.data(), n);
    if (w <= 0) return;  // the program is not reading: the output waits
    queue_.erase(0, static_cast<std::size_t>(w));
    budget_ -= static_cast<double>(w);
    sentBytes_ += w;
}

void Simulator::read(int fd, double now) {
    char buf[256];
    for (;;) {
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r <= 0) return;
        const std::string bytes(buf, static_cast<std::size_t>(r));
        box_.setNow(now);
        const std::string answer = box_.feed(bytes);
        if (o_.verbose) {
            std::string shown;
            for (unsigned char c : bytes)
                shown += c >= 32 && c < 127 ? std::string(1, static_cast<char>(c))
                                            : "\\x" + std::to_string(c);
            log("command " + shown + " -> mode " + std::to_string(box_.mode()));
        }
        queue_ += answer;
    }
}

int Simulator::run(Pty& pty) {
    for (;;) {
        const double now = elapsed();
        if (g_stop) break;
        if (o_.duration >= 0 && now >= o_.duration) break;
        if (o_.unplugAfter >= 0 && now >= o_.unplugAfter) {
            log("unplugged");
            break;
        }
        pollfd fds[2] = {{pty.master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const nfds_t count = o_.exitOnStdinEof ? 2 : 1;
        ::poll(fds, count, static_cast<int>(pollMs(now)));
        if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP))) {
            char c;
            if (::read(STDIN_FILENO, &c, 1) <= 0) break;  // whoever started us has gone
        }
        const bool hungUp = (fds[0].revents & POLLHUP) != 0;
        if (hungUp) {
            if (connected_) log("program closed its end");
            connected_ = false;
            queue_.clear();
            ::usleep(20000);  // a hung-up terminal polls ready at once: do not spin
            continue;
        }
        if (!connected_) {
            connected_ = true;
            connectAt_ = now + kConnectDelay;
            log("program opened its end");
        }
        if (fds[0].revents & POLLIN) read(pty.master, now);
        if (connectAt_ >= 0 && now >= connectAt_) {
            queue_ += box_.connectMessages();
            connectAt_ = -1;
        }
        stream(now);
        flush(pty.master, now);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        boxsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fputs(boxsim::usage(), error.empty() ? stdout : stderr);
        if (!error.empty()) std::fprintf(stderr, "gradel-boxsim: %s\n", error.c_str());
        return error.empty() ? 0 : 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGHUP, onSignal);

    Pty pty;
    if (!openPty(pty)) {
        std::fprintf(stderr, "gradel-boxsim: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    if (!options->link.empty() && !makeLink(options->link, pty.path)) {
        std::fprintf(stderr, "gradel-boxsim: cannot make the link %s\n", options->link.c_str());
        return 1;
    }
    std::printf("%s\n", pty.path.c_str());
    std::fflush(stdout);

    Simulator sim(*options);
    const int rc = sim.run(pty);
    ::close(pty.master);  // the program sees the box vanish
    if (options->report) {
        std::printf("%s\n", sim.report().c_str());
        std::fflush(stdout);
    }
    if (!options->link.empty()) ::unlink(options->link.c_str());
    return rc;
}
