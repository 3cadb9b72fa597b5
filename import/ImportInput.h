#pragma once

// The bytes of a file being imported, read in pieces, with the progress
// reported and the reading stopped when the caller asks.

#include "import/ImportError.h"
#include "import/ImportFile.h"

#include <cstdint>
#include <string>

namespace vorn {

// "「weight.csv」を取り込めません（理由）。"
ImportError ImportFailure(const std::string& path, const std::string& reason);

class ImportInput {
public:
    // Opens a regular file without blocking on a pipe or a device.
    ImportInput(const std::string& path, const ImportProgress& progress);
    ~ImportInput();
    ImportInput(const ImportInput&) = delete;
    ImportInput& operator=(const ImportInput&) = delete;

    // Up to `size` bytes; 0 at the end. Raises ImportError on a read error
    // or when the progress callback asks to stop.
    std::size_t read(char* buffer, std::size_t size);

    const std::string& path() const { return path_; }
    // The size of a read worth making: `most`, or less for a small file.
    std::size_t pieceSize(std::size_t most) const;
    [[noreturn]] void fail(const std::string& reason) const;

private:
    std::string path_;
    ImportProgress progress_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t reported_ = 0;
};

} // namespace vorn
