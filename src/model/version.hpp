// SPDX-License-Identifier: MIT
#pragma once

// The release of the library; CMake reads the project version from this line.
#define TICKWELL_VERSION "1.0.0"
