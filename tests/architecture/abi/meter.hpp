// SPDX-License-Identifier: MIT
// A library of two versions: the interface the ABI check records, and the one built from it
// with -D of the changes below, each of which the check must tell apart.
#pragma once

#define METER_API __attribute__((visibility("default")))

namespace meter {

struct Reading {
    int count;
#ifdef METER_GROWN
    int spare;  // A member more: every caller's Reading is too small.
#endif
};

METER_API Reading read_meter();
#ifndef METER_REMOVED
METER_API void reset_meter();
#endif
#ifdef METER_ADDED
METER_API int meter_limit();
#endif

}  // namespace meter
