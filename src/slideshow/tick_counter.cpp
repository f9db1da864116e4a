#include "slideshow/tick_counter.h"

#include <cmath>

#include "common/numbers.h"

namespace pictavo::slideshow {

bool TickCounter::tick(int32_t interval) {
    double count = parseLeadingNumber(text_);
    if (count < static_cast<double>(interval)) {
        text_ = std::to_string(static_cast<long long>(std::floor(count)) + 1);
        return false;
    }
    text_.clear();
    return true;
}

}  // namespace pictavo::slideshow
