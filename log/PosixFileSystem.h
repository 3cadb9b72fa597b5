#pragma once

// The log's file operations on a POSIX system.

#include "log/LogFileSystem.h"

namespace vorn {

class PosixFileSystem : public LogFileSystem {
public:
    IoStatus openAppend(const std::string& path, Handle& handle, bool& created) override;
    IoStatus openRead(const std::string& path, Handle& handle) override;
    IoStatus lock(Handle handle) override;
    IoStatus isAt(const std::string& path, Handle handle, bool& same) override;
    IoStatus size(Handle handle, std::uint64_t& bytes) override;
    IoStatus readAt(Handle handle, std::uint64_t offset, char* buffer, std::size_t capacity,
                    std::size_t& got) override;
    IoStatus write(Handle handle, std::string_view bytes, std::size_t& written) override;
    IoStatus truncate(Handle handle, std::uint64_t bytes) override;
    IoStatus sync(Handle handle) override;
    IoStatus syncFolder(const std::string& path) override;
    IoStatus removeIfEmpty(const std::string& path, Handle handle) override;
    IoStatus read(Handle handle, char* buffer, std::size_t capacity, std::size_t& got) override;
    IoStatus unlock(Handle handle) override;
    IoStatus duplicate(Handle handle, Handle& copy) override;
    IoStatus close(Handle handle) override;
    IoStatus resolve(const std::string& path, std::string& real) override;
    IoStatus permissions(Handle handle, unsigned& mode) override;
    IoStatus createBeside(const std::string& path, unsigned mode, Handle& handle,
                          std::string& temp) override;
    IoStatus rename(const std::string& from, const std::string& to) override;
    IoStatus remove(const std::string& path) override;
};

} // namespace vorn
