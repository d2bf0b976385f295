// The process-wide timer: the high-resolution counter (or the millisecond
// clock when there is none), and texts for spans of seconds.
#ifndef BRANTVELL_LOG_MDL_TIMER_H_
#define BRANTVELL_LOG_MDL_TIMER_H_

#include <cstdint>
#include <string>

namespace brantvell {

struct Counter;

// Chooses the counter source; true when the high-resolution counter is used.
bool TimerInit();
// The current counter reading in the chosen source's units.
int64_t TimerNow();
// Seconds from `start` to `end`. Raises Error when the timer has no
// frequency yet (TimerInit not run) or the result is not finite.
double TimerElapsed(int64_t start, int64_t end);

// "500.000 us", "1.234 ms", "1.000 s", "2:05.500", "1:02:05".
std::string FormatDuration(double seconds, const std::string& decimal_separator);
std::string FormatDuration(double seconds);  // with the user's decimal separator
// "1:02:05.500000".
std::string FormatTime(double seconds, const std::string& decimal_separator);
std::string FormatTime(double seconds);

// Tests: read the counter from `counter` instead of the machine's (null
// restores the real one). TimerInit must run again afterwards.
void TimerUseCounter(Counter* counter);

}  // namespace brantvell

#endif  // BRANTVELL_LOG_MDL_TIMER_H_
