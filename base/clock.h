#pragma once

#include <ctime>
#include <string>

namespace quillora {

// A moment in local time, as the user's clock shows it.
struct DateTime {
    int year = 0;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

// Where the current time comes from, so that commands that write the date or the time can be run
// on a fixed date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
};

// The local time of the machine.
class SystemClock : public Clock {
public:
    DateTime Now() const override {
        const std::time_t now = std::time(nullptr);
        const std::tm* t = std::localtime(&now);
        if (t == nullptr) return DateTime{};
        return DateTime{t->tm_year + 1900, t->tm_mon + 1, t->tm_mday,
                        t->tm_hour,        t->tm_min,     t->tm_sec};
    }
};

// Always the same moment.
class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime moment) : moment_(moment) {}
    DateTime Now() const override { return moment_; }
    void Set(DateTime moment) { moment_ = moment; }

private:
    DateTime moment_;
};

// The separators of the user's date and time formats; the order and the widths of the fields
// are fixed ("mm/dd/yyyy" and "h:nnAM/PM").
struct DateTimeSeparators {
    std::string date = "/";
    std::string time = ":";
};

namespace clock_text {
inline std::string Digits(int value, int width) {
    std::string text = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
    return value < 0 ? "-" + text : text;
}
}  // namespace clock_text

// "mm/dd/yyyy": two-digit month and day, four-digit year, joined by the date separator.
inline std::string FormatShortDate(const DateTime& moment, const DateTimeSeparators& separators) {
    return clock_text::Digits(moment.month, 2) + separators.date +
           clock_text::Digits(moment.day, 2) + separators.date + clock_text::Digits(moment.year, 4);
}

// "h:nnAM/PM": the hour on the 12-hour clock (12 for noon and midnight) without a leading zero,
// the time separator, two-digit minutes and "AM" or "PM" directly after them.
inline std::string FormatShortTime(const DateTime& moment, const DateTimeSeparators& separators) {
    const int hour12 = moment.hour % 12 == 0 ? 12 : moment.hour % 12;
    return std::to_string(hour12) + separators.time + clock_text::Digits(moment.minute, 2) +
           (moment.hour < 12 ? "AM" : "PM");
}

}  // namespace quillora
