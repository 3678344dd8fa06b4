#pragma once

#include <QDateTime>
#include <QString>

namespace tavomi {

// Every "now" of the program comes from here so tests can pin the time.
class Clock
{
public:
    static QDateTime now();
    static QString today();      // yyyy-MM-dd, the program's short date format
    static QString timeText();   // HH:mm:ss

    // Test hooks: pin the clock, move it, let it run again.
    static void setFixed(const QDateTime &when);
    static void advanceSeconds(qint64 seconds);
    static void reset();
    static bool isFixed();
};

inline constexpr const char *kDateFormat = "yyyy-MM-dd";
inline constexpr const char *kTimeFormat = "HH:mm:ss";

} // namespace tavomi
