#include "admin/book_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BookFiles {

namespace {

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool fail(QString *why, const QString &text)
{
    if (why) *why = text;
    return false;
}

struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0) ::close(fd);
    }
};

bool syncFolderOf(const QString &path)
{
    Fd dir(::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY));
    return dir.fd >= 0 && ::fsync(dir.fd) == 0;
}

} // namespace

bool copy(const QString &from, const QString &to, QString *why)
{
    Fd in(::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) return fail(why, from + QStringLiteral("：") + systemError());
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) return fail(why, from + QStringLiteral("：不是文件"));
    Fd out(::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.fd < 0) return fail(why, to + QStringLiteral("：") + systemError());
    // The kernel copies between the files without passing the bytes through the program.
    off_t left = st.st_size;
    while (left > 0) {
        const ssize_t n = ::copy_file_range(in.fd, nullptr, out.fd, nullptr, size_t(left), 0);
        if (n > 0) {
            left -= n;
            continue;
        }
        if (n == 0) break;   // the file shrank meanwhile
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return fail(why, to + QStringLiteral("：") + systemError());
        // Filesystems that cannot copy in the kernel: plain reads and writes.
        static thread_local char buffer[1 << 20];
        ssize_t r;
        while ((r = ::read(in.fd, buffer, sizeof buffer)) != 0) {
            if (r < 0) {
                if (errno == EINTR) continue;
                return fail(why, from + QStringLiteral("：") + systemError());
            }
            for (ssize_t done = 0; done < r;) {
                const ssize_t w = ::write(out.fd, buffer + done, size_t(r - done));
                if (w < 0) {
                    if (errno == EINTR) continue;
                    return fail(why, to + QStringLiteral("：") + systemError());
                }
                done += w;
            }
        }
        break;
    }
    if (::close(out.fd) != 0) {
        out.fd = -1;
        return fail(why, to + QStringLiteral("：") + systemError());
    }
    out.fd = -1;
    return true;
}

bool sync(const QString &path, QString *why)
{
    Fd f(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (f.fd < 0 || ::fsync(f.fd) != 0) return fail(why, path + QStringLiteral("：") + systemError());
    return true;
}

bool replace(const QString &from, const QString &to, QString *why)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return fail(why, to + QStringLiteral("：") + systemError());
    if (!syncFolderOf(to)) return fail(why, to + QStringLiteral("：") + systemError());
    return true;
}

bool keepAs(const QString &path, const QString &copyName, QString *why)
{
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(copyName).constData()) == 0)
        return syncFolderOf(copyName) || fail(why, copyName + QStringLiteral("：") + systemError());
    return copy(path, copyName, why) && sync(copyName, why);
}

void removeWithCompanions(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) QFile::remove(path + QLatin1String(suffix));
}

bool logInUse(const QString &book) { return QFileInfo::exists(book + QStringLiteral("-wal")); }

} // namespace BookFiles
