#pragma once
// A leak check inside a test: in the sanitized build (AddressSanitizer with leak detection) it
// looks for memory that nothing points to any more and fails the test when it finds some; the
// report above the failure names where the memory was allocated. In a plain build there is no
// leak detector and it checks nothing.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

inline void ExpectNoLeaks() {
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "unreachable memory: see the report above";
#endif
}
