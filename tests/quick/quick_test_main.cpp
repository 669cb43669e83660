// SPDX-License-Identifier: MIT
// The QML test cases of the Tickwell module, tst_*.qml in this folder; run with the module's
// build folder as an import path.
#include <QtQuickTest>

QUICK_TEST_MAIN(tickwell_quick)
