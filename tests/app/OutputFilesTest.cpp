// --screen-text and --screenshot: a regular file is replaced whole, but a FIFO, a device or
// a link is written through, never replaced by a regular file.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

class OutputFiles : public ::testing::Test
{
protected:
    QTemporaryDir home;

    int run(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(I2KCMD_EXE),
                      QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                  QStringLiteral("--home"), home.path(), QStringLiteral("--exec"),
                                  QStringLiteral("write through")} +
                          arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return process.exitCode();
    }
    QString path(const char *name) const { return home.filePath(QString::fromUtf8(name)); }
};

TEST_F(OutputFiles, AFifoIsWrittenIntoAndStaysAFifo)
{
    const QString fifo = path("screen.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A reader is there first, so the program's open does not wait.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(run({QStringLiteral("--screen-text"), fifo}), 0);
    QByteArray text(8192, '\0');
    const ssize_t n = ::read(reader, text.data(), text.size());
    ::close(reader);
    ASSERT_GT(n, 0);
    EXPECT_TRUE(text.startsWith("through "));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(OutputFiles, ADeviceIsWrittenIntoAndStaysADevice)
{
    // A private copy of the null device; making one needs root.
    const QString device = path("null");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    EXPECT_EQ(
        run({QStringLiteral("--screen-text"), device, QStringLiteral("--screenshot"), device}), 0);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(OutputFiles, ALinkKeepsPointingAtTheFileItNames)
{
    const QString target = path("real.png");
    const QString link = path("link.png");
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(run({QStringLiteral("--screenshot"), link}), 0);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_GT(QFileInfo(target).size(), 0);
    // A folder is refused, and said so.
    EXPECT_EQ(run({QStringLiteral("--screen-text"), home.path()}), 1);
}

} // namespace
