// SPDX-License-Identifier: MIT
#pragma once

// What the shared libraries export. They are built with hidden symbols: a class or function
// declared in an installed header carries TICKWELL_API to be reachable from a program, and
// everything else stays private to its library. ELF gives one attribute for both sides.
#if defined(__GNUC__) || defined(__clang__)
#define TICKWELL_API __attribute__((visibility("default")))
#else
#define TICKWELL_API
#endif
