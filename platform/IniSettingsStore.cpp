#include "platform/IniSettingsStore.h"

#include "core/Errors.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vorn {
namespace {

// ---- The text of the file ---------------------------------------------------

struct Line {
    std::size_t begin; // first byte
    std::size_t end;   // end of the text, before the line end
    std::size_t next;  // after the line end
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        const std::size_t end = lf > pos && text[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back({pos, end, lf + 1});
        pos = lf + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// What one line of the file is.
struct Parsed {
    enum Kind { Other, Header, Value } kind = Other;
    std::string_view name; // the section's or the value's, without blanks
    std::size_t eq = 0;    // of a value: the offset of its "=" in the line
};

// A line starting with "[" (after blanks) opens a section, named by what
// stands before the first "]"; without a "]" it is a section of no name. A
// line with an "=" in it is a value. Anything else (comments, blank lines)
// is only kept.
Parsed ParseLine(std::string_view line) {
    Parsed p;
    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == '[') {
        p.kind = Parsed::Header;
        const std::size_t close = t.find(']');
        if (close != std::string_view::npos && close > 1)
            p.name = Trim(t.substr(1, close - 1));
        return p;
    }
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
        p.kind = Parsed::Value;
        p.name = Trim(line.substr(0, eq));
        p.eq = eq;
    }
    return p;
}

// The index of the first line holding `name` in a section called `section`,
// or npos.
std::size_t FindLine(std::string_view text, const std::vector<Line>& lines,
                     std::string_view section, std::string_view name) {
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (p.kind == Parsed::Header)
            inSection = !p.name.empty() && SameName(p.name, section);
        else if (inSection && p.kind == Parsed::Value && !p.name.empty() && SameName(p.name, name))
            return i;
    }
    return std::string_view::npos;
}

// Where a value missing from the first section called `section` goes: after
// that section's last value, or after its header; npos when there is none.
std::size_t InsertionLine(std::string_view text, const std::vector<Line>& lines,
                          std::string_view section) {
    std::size_t at = std::string_view::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (p.kind == Parsed::Header) {
            if (at != std::string_view::npos)
                break;
            if (!p.name.empty() && SameName(p.name, section))
                at = i;
        } else if (at != std::string_view::npos && p.kind == Parsed::Value) {
            at = i;
        }
    }
    return at;
}

// A value that would not read back from its line: a line feed splits it, and
// a carriage return at its end would join the line end.
bool BreaksLine(std::string_view value) {
    return value.find('\n') != std::string_view::npos || (!value.empty() && value.back() == '\r');
}

// ---- Files ------------------------------------------------------------------

std::string DirName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

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

// Makes the folder and those above it that are missing.
bool MakeFolders(const std::string& dir) {
    struct stat st;
    if (stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (errno != ENOENT)
        return false;
    const std::string parent = DirName(dir);
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
        path = next.front() == '/' ? next : DirName(path) + "/" + next;
    }
    return false;
}

enum class Read { Ok, Missing, NotAFile, TooLarge, Failed };

// Reads a regular file, never more than kMaxFileSize bytes and never waiting:
// a FIFO or a device is not even opened.
Read ReadFile(const std::string& path, std::string& text, mode_t& mode) {
    text.clear();
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Read::Missing : Read::Failed;
    if (!S_ISREG(st.st_mode))
        return Read::NotAFile;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Read::Missing : Read::Failed;
    Read result = Read::Ok;
    if (fstat(fd, &st) != 0)
        result = Read::Failed;
    else if (!S_ISREG(st.st_mode))
        result = Read::NotAFile;
    else if (static_cast<unsigned long long>(st.st_size) > IniSettingsStore::kMaxFileSize)
        result = Read::TooLarge;
    mode = st.st_mode & 0777;
    if (result == Read::Ok) {
        // Room for what fstat said and one byte more, growing while the file
        // does, up to one byte more than allowed.
        const std::size_t limit = IniSettingsStore::kMaxFileSize + 1;
        text.resize(static_cast<std::size_t>(st.st_size) + 1);
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
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                result = Read::Failed;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got > IniSettingsStore::kMaxFileSize)
            result = Read::TooLarge;
        text.resize(result == Read::Ok ? got : 0);
    }
    ::close(fd);
    return result;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Replaces `file` by `text`: a temporary file in its folder, synced, renamed
// over it, and the folder synced.
bool ReplaceFile(const std::string& file, const std::string& text, mode_t mode) {
    const std::string dir = DirName(file);
    std::string temp = dir + "/." + BaseName(file) + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, text) && fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0)
        return false;
    // Some file systems cannot sync a folder; the rename is then all there is.
    ok = fsync(dfd) == 0 || errno == EINVAL;
    ::close(dfd);
    return ok;
}

// An flock on a file beside the settings, held until destroyed.
class SaveLock {
public:
    enum State { Held, Busy, Failed };

    SaveLock(const std::string& path, int waitMs) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            state_ = Failed;
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK) {
                state_ = Failed;
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                state_ = Busy;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        state_ = Held;
    }
    ~SaveLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    State state() const { return state_; }

private:
    int fd_ = -1;
    State state_ = Failed;
};

std::string Quoted(const std::string& path) {
    return "設定ファイル「" + path + "」";
}

std::string CannotSave(const std::string& path) {
    return "目標値を" + Quoted(path) +
           "に保存できませんでした。\nフォルダーの書き込み許可と空き容量を確かめてください。";
}

std::string TooLargeToSave(const std::string& path) {
    return Quoted(path) + "は 1 MiB を超えているため、書き換えずに残しました。\n"
                          "目標値は保存されていません。";
}

std::string NotAFileToSave(const std::string& path) {
    return Quoted(path) + "の場所にあるのが通常のファイルではないため、目標値を保存できませんでし"
                          "た。";
}

} // namespace

// ---- The store --------------------------------------------------------------

IniSettingsStore::IniSettingsStore(int lockWaitMs) : lockWaitMs_(lockWaitMs) {}

std::string IniSettingsStore::fileForKey(const std::string& key) {
    std::string rel = key;
    for (char& c : rel)
        if (c == '\\')
            c = '/';
    return ConfigFolder() + "/" + rel + ".conf";
}

bool IniSettingsStore::find(std::string_view text, std::string_view section, std::string_view name,
                            std::string& value) {
    const std::vector<Line> lines = SplitLines(text);
    const std::size_t i = FindLine(text, lines, section, name);
    if (i == std::string_view::npos)
        return false;
    const Line& l = lines[i];
    const std::string_view line = text.substr(l.begin, l.end - l.begin);
    value = line.substr(line.find('=') + 1);
    return true;
}

std::string IniSettingsStore::edit(std::string_view text, const std::vector<Write>& writes,
                                   std::vector<std::string>& refused) {
    const std::vector<Line> lines = SplitLines(text);
    const std::string eol =
        !lines.empty() && lines[0].next > lines[0].end + 1 ? std::string("\r\n") : "\n";

    // What becomes of each line, what follows it, and the sections to add.
    std::vector<std::string> replaced(lines.size());
    std::vector<bool> isReplaced(lines.size(), false);
    std::vector<std::vector<std::string>> after(lines.size());
    std::vector<std::pair<std::string, std::vector<std::string>>> added;

    for (const Write& w : writes) {
        const std::size_t i = FindLine(text, lines, w.section, w.name);
        if (i != std::string_view::npos) {
            const std::string_view line =
                text.substr(lines[i].begin, lines[i].end - lines[i].begin);
            const std::size_t eq = line.find('=');
            // What the file holds already needs no writing, even a value
            // that could not be written (one that ends in a CR).
            isReplaced[i] = line.substr(eq + 1) != w.value;
            if (isReplaced[i] && BreaksLine(w.value)) {
                isReplaced[i] = false;
                refused.push_back(w.name);
            } else if (isReplaced[i]) {
                replaced[i] = std::string(line.substr(0, eq + 1)) + w.value;
            }
            continue;
        }
        if (BreaksLine(w.value)) {
            refused.push_back(w.name);
            continue;
        }
        // Added before: written again.
        const std::string entry = w.name + "=";
        auto rewrite = [&](std::vector<std::string>& list) {
            for (std::string& s : list)
                if (SameName(std::string_view(s).substr(0, s.find('=')), w.name)) {
                    s = entry + w.value;
                    return true;
                }
            return false;
        };
        const std::size_t at = InsertionLine(text, lines, w.section);
        if (at != std::string_view::npos) {
            if (!rewrite(after[at]))
                after[at].push_back(entry + w.value);
            continue;
        }
        auto sec = added.begin();
        while (sec != added.end() && !SameName(sec->first, w.section))
            ++sec;
        if (sec == added.end()) {
            added.push_back({w.section, {}});
            sec = added.end() - 1;
        }
        if (!rewrite(sec->second))
            sec->second.push_back(entry + w.value);
    }

    std::string out;
    out.reserve(text.size() + 256);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (isReplaced[i])
            out += replaced[i];
        else
            out.append(text.substr(l.begin, l.end - l.begin));
        if (l.next > l.end)
            out.append(text.substr(l.end, l.next - l.end));
        else if (!after[i].empty() || !added.empty())
            // The last line, which had none, is followed now; a CR at its end
            // stays part of it.
            out += out.back() == '\r' ? "\r\n" : eol;
        for (const std::string& s : after[i])
            out += s + eol;
    }
    for (const auto& [section, values] : added) {
        if (!out.empty()) {
            // Here `out` ends with a line end: a blank line before the new
            // section, unless its last line is blank already.
            std::string_view last(out.data(), out.size() - 1);
            if (!last.empty() && last.back() == '\r')
                last.remove_suffix(1);
            const std::size_t lf = last.rfind('\n');
            if (!Trim(last.substr(lf == std::string_view::npos ? 0 : lf + 1)).empty())
                out += eol;
        }
        out += "[" + section + "]" + eol;
        for (const std::string& s : values)
            out += s + eol;
    }
    return out;
}

void IniSettingsStore::open(const std::string& key) {
    path_ = fileForKey(key);
    written_.clear();
    readProblem_.clear();
    mode_t mode = 0;
    switch (ReadFile(path_, text_, mode)) {
    case Read::Ok:
        break;
    case Read::Missing: {
        // Opening creates the store, as opening a registry key does; a link
        // that leads nowhere is left alone. Saving says what went wrong.
        struct stat st;
        if (lstat(path_.c_str(), &st) == 0 || !MakeFolders(DirName(path_)))
            break;
        const int fd =
            ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0)
            ::close(fd);
        break;
    }
    case Read::NotAFile:
        readProblem_ = Quoted(path_) + "の場所にあるのが通常のファイルではないため、目標値を読み"
                                       "込みませんでした。";
        break;
    case Read::TooLarge:
        readProblem_ = Quoted(path_) + "は 1 MiB を超えているため、目標値を読み込みませんでした。"
                                       "\n終了するときも、このファイルは書き換えません。";
        break;
    case Read::Failed:
        readProblem_ = "目標値を" + Quoted(path_) +
                       "から読み込めませんでした。\nファイルの読み取り許可を確かめてください。";
        break;
    }
}

std::string IniSettingsStore::readString(const std::string& section, const std::string& name,
                                         const std::string& def) {
    std::string value;
    return find(text_, section, name, value) ? value : def;
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
    const std::vector<Write> writes = std::move(written_);
    written_.clear();

    struct stat st;
    if (lstat(path_.c_str(), &st) != 0 && !MakeFolders(DirName(path_)))
        throw StoreError(CannotSave(path_));
    const SaveLock lock(path_ + ".lock", lockWaitMs_);
    if (lock.state() == SaveLock::Busy)
        throw StoreError("ほかのプログラムが" + Quoted(path_) +
                         "を使っているため、目標値を保存できませんでした。\n"
                         "しばらくしてから、もう一度終了してください。");
    if (lock.state() != SaveLock::Held)
        throw StoreError(CannotSave(path_));

    std::string file;
    if (!FollowLinks(path_, file))
        throw StoreError(CannotSave(path_));
    std::string text;
    mode_t mode = 0600;
    bool existed = true;
    switch (ReadFile(file, text, mode)) {
    case Read::Ok:
        // Group and others may read it as before, but never write it.
        mode &= ~static_cast<mode_t>(S_IWGRP | S_IWOTH);
        break;
    case Read::Missing:
        existed = false;
        mode = 0600;
        break;
    case Read::NotAFile:
        throw StoreError(NotAFileToSave(path_));
    case Read::TooLarge:
        throw StoreError(TooLargeToSave(path_));
    case Read::Failed:
        throw StoreError("目標値を保存するために" + Quoted(path_) +
                         "を読み込めませんでした。\nファイルの読み取り許可を確かめてください。");
    }

    std::vector<std::string> refused;
    const std::string edited = edit(text, writes, refused);
    if ((!existed || edited != text) && !ReplaceFile(file, edited, mode))
        throw StoreError(CannotSave(path_));
    if (!refused.empty()) {
        std::string names;
        for (const std::string& n : refused)
            names += (names.empty() ? "" : "、") + n;
        throw StoreError("目標値 " + names + " には改行が含まれているため、" + Quoted(path_) +
                         "に保存できませんでした。\nほかの目標値は保存しました。");
    }
}

} // namespace vorn
