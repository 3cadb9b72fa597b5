#pragma once

#include <cstddef>
#include <string>

namespace vorn::test {

// Points HOME and XDG_CONFIG_HOME at a new temporary folder, so that no test
// ever touches a real user's files. Returns that folder.
std::string UseTemporaryHome();
// The folder set by UseTemporaryHome().
const std::string& TestHome();
// A fresh, empty folder below the test home.
std::string MakeTempDir(const std::string& stem);
// A file's whole contents, byte for byte (empty when it cannot be read).
std::string Slurp(const std::string& path);
// Makes `path` hold exactly `bytes`.
void Spit(const std::string& path, const std::string& bytes);
// `n` bytes of every value, the same for the same seed.
std::string RandomBytes(std::size_t n, unsigned seed);

// A configuration folder of its own, which XDG_CONFIG_HOME names from now
// on, and the program's settings file in it.
struct ConfigFolder {
    ConfigFolder();
    // Makes the settings file hold exactly `bytes`.
    void putConf(const std::string& bytes) const;
    std::string config;
    std::string tav = config + "/Tav";
    std::string conf = tav + "/Vorn2.conf";
};

// Two FIFOs in `dir`: `lone`, with nobody at its other end, and `held`,
// which this object keeps open for reading and writing, so that a reader
// finds a writer that never sends anything. `peer` is -1 when making them
// failed.
struct TestFifos {
    explicit TestFifos(const std::string& dir);
    ~TestFifos();
    TestFifos(const TestFifos&) = delete;
    TestFifos& operator=(const TestFifos&) = delete;
    std::string lone;
    std::string held;
    int peer = -1;
};

} // namespace vorn::test
