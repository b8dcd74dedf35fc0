// The password hand-off: what the provider receives, and that the library is
// always released and nothing is reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_windows.h"
#include "host/modes.h"
#include "program_state.h"

namespace {

using Calls = std::vector<std::string>;

Calls RunPassword(const char* line, bool library = true, bool entry = true) {
    ResetProgram();
    FakeSetCommandLine(line);
    FakeSetPasswordProvider(library, entry);
    ChangeSaverPassword();
    return FakeCalls();
}

TEST(Password, HandsTheChangeToTheProvider) {
    const Calls expected = {
        "GetCommandLineA()",
        "LoadLibraryA(\"MPR.DLL\")",
        "GetProcAddress(mpr, \"PwdChangePasswordA\")",
        "PwdChangePasswordA(\"SCRSAVE\", 700, 0, 0)",
        "FreeLibrary(mpr)",
    };
    EXPECT_EQ(RunPassword("glimmerbox.scr /a 700"), expected);
}

TEST(Password, OwnerIsReadIn32Bits) {
    const struct {
        const char* line;
        const char* owner;
    } cases[] = {
        {"glimmerbox.scr /a", "0"},
        {"glimmerbox.scr /a abc", "0"},
        {"glimmerbox.scr /a -12x", "12"},  // in 32-bit width a trailing non-digit drops the sign
        {"glimmerbox.scr /a $2BC", "700"},
        {"glimmerbox.scr /a 4294967996", "429496799"},  // the reading stops at the 32-bit bound
        {"glimmerbox.scr /a -5", "18446744073709551611"},  // a 32-bit handle value, sign-extended
    };
    for (const auto& c : cases) {
        RunPassword(c.line);
        EXPECT_EQ(FakeCallsOf({"PwdChangePasswordA"}),
                  Calls{"PwdChangePasswordA(\"SCRSAVE\", " + std::string(c.owner) + ", 0, 0)"})
            << c.line;
    }
}

TEST(Password, MissingProviderOrEntryIsQuiet) {
    EXPECT_EQ(RunPassword("glimmerbox.scr /a 700", true, false),
              (Calls{"GetCommandLineA()", "LoadLibraryA(\"MPR.DLL\")", "GetProcAddress(mpr, \"PwdChangePasswordA\")",
                     "FreeLibrary(mpr)"}));
    EXPECT_EQ(RunPassword("glimmerbox.scr /a 700", false, false), (Calls{"GetCommandLineA()", "LoadLibraryA(\"MPR.DLL\")"}));
}

}  // namespace
