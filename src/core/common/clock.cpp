#include "common/clock.h"

#include <atomic>
#include <mutex>

namespace tavomi {

namespace {
std::mutex g_mutex;
bool g_fixed = false;
QDateTime g_when;
} // namespace

QDateTime Clock::now()
{
    std::lock_guard lock(g_mutex);
    return g_fixed ? g_when : QDateTime::currentDateTime();
}

QString Clock::today()
{
    return now().date().toString(QLatin1String(kDateFormat));
}

QString Clock::timeText()
{
    return now().time().toString(QLatin1String(kTimeFormat));
}

void Clock::setFixed(const QDateTime &when)
{
    std::lock_guard lock(g_mutex);
    g_fixed = true;
    g_when = when;
}

void Clock::advanceSeconds(qint64 seconds)
{
    std::lock_guard lock(g_mutex);
    if (g_fixed)
        g_when = g_when.addSecs(seconds);
}

void Clock::reset()
{
    std::lock_guard lock(g_mutex);
    g_fixed = false;
}

bool Clock::isFixed()
{
    std::lock_guard lock(g_mutex);
    return g_fixed;
}

} // namespace tavomi
