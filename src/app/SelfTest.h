#pragma once

/// `velto --self-test`: loads every window of the interface against a throw-away
/// profile and fails when a QML module, a file, a binding or a font is missing, so a
/// missing runtime package fails the test run, not a user's desk.
namespace SelfTest {
int run();
}
