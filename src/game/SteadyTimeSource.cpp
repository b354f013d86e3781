#include "game/TimeSource.h"

#include <chrono>

std::int64_t SteadyTimeSource::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
