#pragma once

// A test double for the log's file operations: passes every call on to a
// real file system, but fails the Nth call of a chosen operation, or makes
// the Nth write a short one, or runs something of the test's just before the
// Nth call of an operation. It also counts calls and open handles.

#include "log/LogFileSystem.h"

#include <cstddef>
#include <functional>
#include <map>
#include <set>

namespace vorn::test {

class FaultyFileSystem : public LogFileSystem {
public:
    enum class Op {
        Open,
        Lock,
        IsAt,
        Size,
        ReadAt,
        Write,
        Truncate,
        Sync,
        SyncFolder,
        Remove,
        Read,
        Close,
        Create,
        Rename
    };

    explicit FaultyFileSystem(LogFileSystem& real) : real_(real) {}

    // The `nth` call (from 1) of `op` fails with `err`. A failing close still
    // releases the handle, as on Linux.
    void failOn(Op op, int nth, int err) { faults_[op] = {nth, err, 0}; }
    // The `nth` write writes only its first `bytes` bytes and reports success.
    void shortWriteOn(int nth, std::size_t bytes) { faults_[Op::Write] = {nth, 0, bytes}; }
    // Runs `what` just before the `nth` call of `op` is passed on (or fails).
    void before(Op op, int nth, std::function<void()> what) {
        before_[op] = {nth, std::move(what)};
    }

    int calls(Op op) const;
    // Handles opened and not yet closed.
    std::size_t openHandles() const { return open_.size(); }
    // Closes of handles that were not open (never passed on).
    int strayCloses() const { return strayCloses_; }

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
    IoStatus unlock(Handle handle) override { return real_.unlock(handle); }
    IoStatus duplicate(Handle handle, Handle& copy) override;
    IoStatus close(Handle handle) override;
    IoStatus resolve(const std::string& path, std::string& real) override {
        return pass(Op::IsAt, true, [&] { return real_.resolve(path, real); });
    }
    IoStatus permissions(Handle handle, unsigned& mode) override {
        return pass(Op::Size, true, [&] { return real_.permissions(handle, mode); });
    }
    IoStatus createBeside(const std::string& path, unsigned mode, Handle& handle,
                          std::string& temp) override;
    IoStatus rename(const std::string& from, const std::string& to) override {
        return pass(Op::Rename, true, [&] { return real_.rename(from, to); });
    }
    IoStatus remove(const std::string& path) override {
        return pass(Op::Remove, true, [&] { return real_.remove(path); });
    }

private:
    struct Fault {
        int nth = 0;
        int err = 0;           // errno to fail with, or
        std::size_t bytes = 0; // the length of a short write
    };
    // Counts the call; the fault when this is the one to fail.
    const Fault* hit(Op op);
    // Fails the call as `op`'s fault says, or passes it on.
    template <class Call> IoStatus pass(Op op, bool writing, Call call) {
        if (const Fault* f = hit(op))
            return {ErrnoReason(f->err, writing)};
        return call();
    }

    LogFileSystem& real_;
    std::map<Op, Fault> faults_;
    std::map<Op, std::pair<int, std::function<void()>>> before_;
    std::map<Op, int> calls_;
    std::set<Handle> open_;
    int strayCloses_ = 0;
};

} // namespace vorn::test
