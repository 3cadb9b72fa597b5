// Wraps a real file system and injects faults; see the header.

#include "support/fakes/FaultyFileSystem.h"

#include <cerrno>

namespace vorn::test {

int FaultyFileSystem::calls(Op op) const {
    const auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
}

const FaultyFileSystem::Fault* FaultyFileSystem::hit(Op op) {
    const int n = ++calls_[op];
    if (const auto b = before_.find(op); b != before_.end() && b->second.first == n)
        b->second.second();
    const auto it = faults_.find(op);
    return it != faults_.end() && it->second.nth == n ? &it->second : nullptr;
}

IoStatus FaultyFileSystem::openAppend(const std::string& path, Handle& handle, bool& created) {
    IoStatus s = pass(Op::Open, true, [&] { return real_.openAppend(path, handle, created); });
    if (s.ok())
        open_.insert(handle);
    return s;
}

IoStatus FaultyFileSystem::openRead(const std::string& path, Handle& handle) {
    IoStatus s = pass(Op::Open, false, [&] { return real_.openRead(path, handle); });
    if (s.ok())
        open_.insert(handle);
    return s;
}

IoStatus FaultyFileSystem::createBeside(const std::string& path, unsigned mode, Handle& handle,
                                        std::string& temp) {
    IoStatus s =
        pass(Op::Create, true, [&] { return real_.createBeside(path, mode, handle, temp); });
    if (s.ok())
        open_.insert(handle);
    return s;
}

IoStatus FaultyFileSystem::lock(Handle handle) {
    return pass(Op::Lock, true, [&] { return real_.lock(handle); });
}

IoStatus FaultyFileSystem::isAt(const std::string& path, Handle handle, bool& same) {
    return pass(Op::IsAt, true, [&] { return real_.isAt(path, handle, same); });
}

IoStatus FaultyFileSystem::readAt(Handle handle, std::uint64_t offset, char* buffer,
                                  std::size_t capacity, std::size_t& got) {
    return pass(Op::ReadAt, false,
                [&] { return real_.readAt(handle, offset, buffer, capacity, got); });
}

IoStatus FaultyFileSystem::syncFolder(const std::string& path) {
    return pass(Op::SyncFolder, true, [&] { return real_.syncFolder(path); });
}

IoStatus FaultyFileSystem::removeIfEmpty(const std::string& path, Handle handle) {
    return pass(Op::Remove, true, [&] { return real_.removeIfEmpty(path, handle); });
}

IoStatus FaultyFileSystem::size(Handle handle, std::uint64_t& bytes) {
    return pass(Op::Size, true, [&] { return real_.size(handle, bytes); });
}

IoStatus FaultyFileSystem::write(Handle handle, std::string_view bytes, std::size_t& written) {
    if (const Fault* f = hit(Op::Write)) {
        if (f->err != 0)
            return {ErrnoReason(f->err, true)};
        return real_.write(handle, bytes.substr(0, f->bytes), written);
    }
    return real_.write(handle, bytes, written);
}

IoStatus FaultyFileSystem::truncate(Handle handle, std::uint64_t bytes) {
    return pass(Op::Truncate, true, [&] { return real_.truncate(handle, bytes); });
}

IoStatus FaultyFileSystem::sync(Handle handle) {
    return pass(Op::Sync, true, [&] { return real_.sync(handle); });
}

IoStatus FaultyFileSystem::read(Handle handle, char* buffer, std::size_t capacity,
                                std::size_t& got) {
    return pass(Op::Read, false, [&] { return real_.read(handle, buffer, capacity, got); });
}

IoStatus FaultyFileSystem::duplicate(Handle handle, Handle& copy) {
    IoStatus s = real_.duplicate(handle, copy);
    if (s.ok())
        open_.insert(copy);
    return s;
}

IoStatus FaultyFileSystem::close(Handle handle) {
    const Fault* f = hit(Op::Close);
    if (open_.erase(handle) == 0) {
        ++strayCloses_;
        return {ErrnoReason(EBADF, true)};
    }
    IoStatus s = real_.close(handle);
    return f ? IoStatus{ErrnoReason(f->err, true)} : s;
}

} // namespace vorn::test
