// The settings file on disk: read whole, replaced whole through a synced
// temporary file, under a lock beside it.

#include "platform/IniSettingsStore.h"

#include "core/Errors.h"
#include "platform/IniText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

// How long a close waits for another program's save.
constexpr auto kLockWait = std::chrono::milliseconds(2000);

std::string ConfigFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h)
        home = h;
    else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        home = pw->pw_dir;
    return home + "/.config";
}

// Makes the folder and those above it that are missing; errno says why not.
bool MakeFolders(const std::string& dir) {
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) {
        errno = S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        return S_ISDIR(st.st_mode);
    }
    if (errno != ENOENT)
        return false;
    const std::string parent = posix::FolderOf(dir);
    if (parent != dir && !MakeFolders(parent))
        return false;
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

// The file a link at `path` leads to, through every further link; `path`
// itself when it is no link. False when the chain cannot be followed.
bool FollowLinks(std::string path, std::string& file) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            file = path;
            return true;
        }
        char target[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target)
            return false;
        std::string next(target, static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : posix::FolderOf(path) + "/" + next;
    }
    return false;
}

enum class Read { Ok, Missing, NotAFile, TooLarge, Failed };

// Reads up to one byte more than allowed from an open file of `size` bytes
// by fstat; the file may have grown since.
IoStatus ReadAll(int fd, std::size_t size, std::string& text) {
    const std::size_t limit = IniSettingsStore::kMaxFileSize + 1;
    text.resize(std::min(limit, size + 1));
    std::size_t got = 0;
    for (;;) {
        if (got == text.size()) {
            if (got == limit)
                break;
            text.resize(std::min(limit, 2 * got));
        }
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n == 0)
            break;
        if (n < 0 && errno != EINTR)
            return Failure(errno, false);
        got += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    text.resize(got);
    return {};
}

// Reads a regular file, never more than kMaxFileSize bytes and never
// waiting: a FIFO or a device is not even opened. `why` gets the reason of
// a failure.
Read ReadFile(const std::string& path, std::string& text, mode_t& mode, IoStatus& why) {
    text.clear();
    int fd = -1;
    why = posix::OpenRegular(path, O_RDONLY, 0, false, fd);
    if (!why.ok()) {
        if (why.err == ENOENT || why.err == ENOTDIR)
            return Read::Missing;
        return why.err == 0 || why.err == EISDIR ? Read::NotAFile : Read::Failed;
    }
    struct stat st {};
    Read result = Read::Ok;
    if (::fstat(fd, &st) != 0) {
        why = Failure(errno, false);
        result = Read::Failed;
    } else if (static_cast<unsigned long long>(st.st_size) > IniSettingsStore::kMaxFileSize) {
        result = Read::TooLarge;
    } else if (why = ReadAll(fd, static_cast<std::size_t>(st.st_size), text); !why.ok()) {
        result = Read::Failed;
    } else if (text.size() > IniSettingsStore::kMaxFileSize) {
        result = Read::TooLarge;
    }
    mode = st.st_mode & 0777;
    if (result != Read::Ok)
        text.clear();
    ::close(fd);
    return result;
}

// Removes the temporary files that a save killed half way left beside
// `file`. Only for a holder of the lock: every save holds it while its
// temporary file exists, so none of these belongs to a live one.
void RemoveStaleTemps(const std::string& file) {
    const std::string folder = posix::FolderOf(file);
    const std::string prefix = posix::TempPrefix(file);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// An flock on a file beside the settings, held until destroyed.
class SaveLock {
public:
    SaveLock(const std::string& path, posix::LockPatience& patience, int create = O_CREAT) {
        status_ = posix::OpenRegular(path, O_RDONLY | create | O_NOFOLLOW, 0600, true, fd_);
        if (status_.ok())
            status_ = posix::Lock(fd_, patience);
    }
    ~SaveLock() {
        if (fd_ >= 0) {
            posix::Unlock(fd_); // also when the close fails
            ::close(fd_);
        }
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    const IoStatus& status() const { return status_; }

private:
    int fd_ = -1;
    IoStatus status_;
};

// Gives up at once: for a tidy-up that is never worth waiting for.
struct NoPatience : posix::LockPatience {
    bool waitMore() override { return false; }
};

std::string Quoted(const std::string& path) {
    return "設定ファイル「" + path + "」";
}

std::string Reason(const IoStatus& status) {
    return "\n理由: " + status.reason;
}

[[noreturn]] void CannotSave(const std::string& what, const std::string& path,
                             const IoStatus& why) {
    throw StoreError(what + "を" + Quoted(path) + "に保存できませんでした。" + Reason(why));
}

std::string TooLarge(const std::string& path, const std::string& what) {
    return Quoted(path) + "は 1 MiB を超えているため、" + what;
}

std::string NotAFile(const std::string& path, const std::string& what) {
    return Quoted(path) + "の場所にあるのが通常のファイルではないため、" + what;
}

} // namespace

// ---- The store --------------------------------------------------------------

IniSettingsStore::IniSettingsStore(posix::LockPatience* patience) : patience_(patience) {}

std::string IniSettingsStore::fileForKey(const std::string& key) {
    std::string rel = key;
    for (char& c : rel)
        if (c == '\\')
            c = '/';
    return ConfigFolder() + "/" + rel + ".conf";
}

void IniSettingsStore::open(const std::string& key, const std::string& what) {
    path_ = fileForKey(key);
    what_ = what;
    written_.clear();
    readProblem_.clear();
    removeStaleTemps();
    mode_t mode = 0;
    IoStatus why;
    switch (ReadFile(path_, text_, mode, why)) {
    case Read::Ok:
        break;
    case Read::Missing:
        create();
        break;
    case Read::NotAFile:
        readProblem_ = NotAFile(path_, what_ + "を読み込みませんでした。");
        break;
    case Read::TooLarge:
        readProblem_ = TooLarge(path_, what_ + "を読み込みませんでした。\n"
                                               "終了するときも、このファイルは書き換えません。");
        break;
    case Read::Failed:
        readProblem_ = what_ + "を" + Quoted(path_) + "から読み込めませんでした。" + Reason(why);
        break;
    }
}

// Opening creates the store, as opening a registry key does; a link that
// leads nowhere is left alone. Saving says what went wrong.
void IniSettingsStore::create() {
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 || !MakeFolders(posix::FolderOf(path_)))
        return;
    const int fd =
        ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

// At start-up, when no other program is saving right now.
void IniSettingsStore::removeStaleTemps() {
    std::string file;
    struct stat st {};
    if (::stat(posix::FolderOf(path_).c_str(), &st) != 0 || !FollowLinks(path_, file))
        return;
    // No lock file: no save ever began here.
    NoPatience none;
    const SaveLock lock(path_ + ".lock", none, 0);
    if (lock.status().ok())
        RemoveStaleTemps(file);
}

std::string IniSettingsStore::readString(const std::string& section, const std::string& name,
                                         const std::string& def) {
    std::string value;
    return ini::Find(text_, section, name, value) ? value : def;
}

void IniSettingsStore::writeString(const std::string& section, const std::string& name,
                                   const std::string& value) {
    written_.push_back({section, name, value});
}

void IniSettingsStore::release() {
    const bool wrote = !written_.empty();
    const std::string problem = readProblem_;
    text_.clear();
    readProblem_.clear();
    if (wrote)
        commit(); // clears written_ on every way out
    else if (!problem.empty())
        throw StoreError(problem);
}

void IniSettingsStore::commit() {
    const std::vector<ini::Write> writes = std::move(written_);
    written_.clear();

    struct stat st {};
    if (::lstat(path_.c_str(), &st) != 0 && !MakeFolders(posix::FolderOf(path_)))
        CannotSave(what_, path_, Failure(errno, true));
    posix::SteadyPatience steady(kLockWait);
    const SaveLock lock(path_ + ".lock", patience_ ? *patience_ : steady);
    if (lock.status().err == EWOULDBLOCK)
        throw StoreError("ほかのプログラムが" + Quoted(path_) + "を使っているため、" + what_ +
                         "を保存できませんでした。\n"
                         "しばらくしてから、もう一度お試しください。");
    if (!lock.status().ok())
        CannotSave(what_, path_, lock.status());

    std::string file;
    if (!FollowLinks(path_, file))
        CannotSave(what_, path_, Failure(ELOOP, true));
    RemoveStaleTemps(file);
    replace(file, writes);
}

// Writes the values into the file a link at the store's place leads to.
void IniSettingsStore::replace(const std::string& file, const std::vector<ini::Write>& writes) {
    std::string text;
    mode_t mode = 0600;
    IoStatus why;
    bool existed = true;
    switch (ReadFile(file, text, mode, why)) {
    case Read::Ok:
        // Group and others may read it as before, but never write it.
        mode &= ~static_cast<mode_t>(S_IWGRP | S_IWOTH);
        break;
    case Read::Missing:
        existed = false;
        mode = 0600;
        break;
    case Read::NotAFile:
        throw StoreError(NotAFile(path_, what_ + "を保存できませんでした。"));
    case Read::TooLarge:
        throw StoreError(
            TooLarge(path_, "書き換えずに残しました。\n" + what_ + "は保存されていません。"));
    case Read::Failed:
        throw StoreError(what_ + "を保存するために" + Quoted(path_) + "を読み込めませんでした。" +
                         Reason(why));
    }

    std::vector<std::string> refused;
    const std::string edited = ini::Edit(text, writes, refused);
    if (!existed || edited != text) {
        if (IoStatus status = posix::ReplaceFile(file, edited, mode); !status.ok())
            CannotSave(what_, path_, status);
    }
    if (!refused.empty()) {
        std::string names;
        for (const std::string& n : refused)
            names += (names.empty() ? "" : "、") + n;
        throw StoreError(what_ + " " + names + " には改行が含まれているため、" + Quoted(path_) +
                         "に保存できませんでした。\nほかの" + what_ + "は保存しました。");
    }
}

} // namespace vorn
