#include "support/TestHome.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn::test {
namespace {
std::string g_home;
}

std::string UseTemporaryHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    g_home = pattern;
    setenv("HOME", g_home.c_str(), 1);
    const std::string config = g_home + "/.config";
    std::filesystem::create_directories(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    return g_home;
}

const std::string& TestHome() {
    return g_home;
}

std::string MakeTempDir(const std::string& stem) {
    std::string pattern = g_home + "/" + stem + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(gen() & 0xff);
    return s;
}

ConfigFolder::ConfigFolder() : config(MakeTempDir("config")) {
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

void ConfigFolder::putConf(const std::string& bytes) const {
    std::filesystem::create_directories(tav);
    Spit(conf, bytes);
}

TestFifos::TestFifos(const std::string& dir) : lone(dir + "/fifo"), held(dir + "/held") {
    if (mkfifo(lone.c_str(), 0644) == 0 && mkfifo(held.c_str(), 0644) == 0)
        peer = ::open(held.c_str(), O_RDWR | O_NONBLOCK);
}

TestFifos::~TestFifos() {
    if (peer >= 0)
        ::close(peer);
}

} // namespace vorn::test
