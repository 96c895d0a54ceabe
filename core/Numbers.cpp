#include "core/Numbers.h"

#include <cmath>
#include <limits>

namespace korvel {

int32_t TruncateToInt(double x) {
    if (std::isnan(x)) return 0;
    const double whole = std::trunc(x);
    if (whole >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (whole <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(whole);
}

}  // namespace korvel
