#include "Unprivileged.h"

#include <QFile>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif
#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace
{
constexpr unsigned Nobody = 65534;
}

unsigned unprivilegedUid()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0 ? Nobody : ::geteuid();
#else
    return 0;
#endif
}

int runUnprivileged(const std::function<int()>& body)
{
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(255);
        ::_exit(body() & 0xFF);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    const int code = WEXITSTATUS(status);
    return code == 255 ? -1 : code;
#else
    return body();
#endif
}

bool setImmutable(const QString& path, bool on)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
#else
    (void)path;
    (void)on;
    return false;
#endif
}
