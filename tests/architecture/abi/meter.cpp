// SPDX-License-Identifier: MIT
#include "meter.hpp"

namespace meter {

namespace {
int counted = 0;
}

Reading read_meter() {
    return Reading{++counted};
}
#ifndef METER_REMOVED
void reset_meter() {
    counted = 0;
}
#endif
#ifdef METER_ADDED
int meter_limit() {
    return 1000;
}
#endif

}  // namespace meter
