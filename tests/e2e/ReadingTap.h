#pragma once
// A second, independent reader of what the box sent: it counts the bytes, splits the text at
// the colons itself and keeps, per key, the samples of the last nine readings of the exact
// shapes a box sends ("+012.70" mm, "+01.2500" inch, "H000100" count). From them it says what
// a readout must show once the stream has stopped.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

class ReadingTap {
  public:
    static constexpr std::size_t kAveraged = 9;

    void Feed(std::string_view text) {
        bytes_ += static_cast<long long>(text.size());
        for (char c : text) {
            if (c != ':') {
                if (pending_.size() < 64) pending_ += c;
                continue;
            }
            Message(pending_);
            pending_.clear();
        }
    }

    // The sample in inches of a well-formed reading value, or nothing.
    static std::optional<double> Sample(std::string_view v) {
        auto digits = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i)
                if (!std::isdigit(static_cast<unsigned char>(v[i]))) return false;
            return true;
        };
        const bool signed_ = !v.empty() && (v[0] == '+' || v[0] == '-');
        const double sign = !v.empty() && v[0] == '-' ? -1.0 : 1.0;
        if (v.size() == 7 && signed_ && digits(1, 4) && v[4] == '.' && digits(5, 7))
            return sign * std::stod(std::string(v.substr(1))) / 25.4;
        if (v.size() == 8 && signed_ && digits(1, 3) && v[3] == '.' && digits(4, 8))
            return sign * std::stod(std::string(v.substr(1)));
        if (v.size() == 7 && v[0] == 'H') {
            for (std::size_t i = 1; i < 7; ++i)
                if (!std::isxdigit(static_cast<unsigned char>(v[i]))) return std::nullopt;
            auto count = static_cast<int32_t>(std::stoul(std::string(v.substr(1)), nullptr, 16));
            if (count & 0x800000) count -= 0x1000000;
            return -static_cast<double>(count) / 20480.0;
        }
        return std::nullopt;
    }

    // The average of the last nine well-formed readings of `key` (zeros where fewer came),
    // as the program keeps it: what the readouts show, before reversal and times two.
    double Average(char key) const {
        auto it = last_.find(key);
        if (it == last_.end()) return 0;
        double sum = 0;
        for (double s : it->second) sum += s;
        return sum / kAveraged;
    }
    long long Readings(char key) const {
        auto it = count_.find(key);
        return it == count_.end() ? 0 : it->second;
    }
    long long Bytes() const { return bytes_; }
    long long WellFormed() const { return wellFormed_; }
    long long Other() const { return other_; }
    // The box's other messages ("CX", "IX,2,Decimal,mm", "RX"), in order; noise is left out.
    const std::vector<std::string>& BoxMessages() const { return boxMessages_; }
    // Forgets the readings (a reset or a new record starts the average afresh).
    void Restart(char key) {
        last_.erase(key);
        count_.erase(key);
    }

  private:
    void Message(const std::string& m) {
        if (m.size() >= 2 && m[0] != 'C' && m[0] != 'D' && m[0] != 'I' && m[0] != 'R') {
            if (auto s = Sample(std::string_view(m).substr(1))) {
                auto& ring = last_[m[0]];
                ring.push_back(*s);
                if (ring.size() > kAveraged) ring.pop_front();
                ++count_[m[0]];
                ++wellFormed_;
                return;
            }
        }
        ++other_;
        const bool boxMessage = m.size() >= 2 && (m[0] == 'C' || m[0] == 'I' || m[0] == 'R') &&
                                std::isalpha(static_cast<unsigned char>(m[1]));
        if (boxMessage && boxMessages_.size() < 1000) boxMessages_.push_back(m);
    }

    std::string pending_;
    std::map<char, std::deque<double>> last_;
    std::map<char, long long> count_;
    long long bytes_ = 0;
    long long wellFormed_ = 0;
    long long other_ = 0;
    std::vector<std::string> boxMessages_;
};

}  // namespace e2e
