#include "gui/single_instance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(SingleInstance, ASecondStartHandsItsFilesToTheFirst)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString name = CSingleInstance::SocketPathIn(runtime.path());
    CSingleInstance first(name);
    EXPECT_FALSE(first.HandOver({})); // nobody listens yet
    ASSERT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(
        &first, &CSingleInstance::filesReceived, [&](const QStringList& f) { received = f; });

    CSingleInstance second(name);
    EXPECT_TRUE(second.HandOver({QStringLiteral("/tmp/Kast.ETT")}));
    QElapsedTimer timer;
    timer.start();
    while (received.isEmpty() && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(received, QStringList {QStringLiteral("/tmp/Kast.ETT")});

    // Only the same user may connect to the socket.
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST(SingleInstance, TheSocketLivesOnlyInAPrivateRuntimeFolder)
{
    EXPECT_EQ(CSingleInstance::SocketPathIn(QStringLiteral("/run/user/1000")),
        QStringLiteral("/run/user/1000/ridizav"));

    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray folder = QFile::encodeName(runtime.path());
    // (mode, private)
    const struct {
        mode_t mode;
        bool isPrivate;
    } cases[] = {{0700, true}, {0750, true}, {0755, true}, {0770, false}, {0777, false},
        {01777, false}, {0702, false}};
    for (const auto& c : cases) {
        ASSERT_EQ(::chmod(folder.constData(), c.mode), 0);
        EXPECT_EQ(CSingleInstance::IsPrivateFolder(runtime.path()), c.isPrivate) << c.mode;
    }
    ::chmod(folder.constData(), 0700);
    EXPECT_FALSE(CSingleInstance::IsPrivateFolder(runtime.path() + QStringLiteral("/none")));
    EXPECT_FALSE(CSingleInstance::IsPrivateFolder(QString()));
    // The system's temporary folder is everyone's.
    EXPECT_FALSE(CSingleInstance::IsPrivateFolder(QStringLiteral("/tmp")));
    if (::getuid() != 0) { // a folder of another user (root's)
        EXPECT_FALSE(CSingleInstance::IsPrivateFolder(QStringLiteral("/root")));
    }

    // Not private: the program runs on its own and never talks to a stranger.
    ::chmod(folder.constData(), 0777);
    qputenv("XDG_RUNTIME_DIR", folder);
    EXPECT_EQ(CSingleInstance::UserSocketPath(), QString());
    ::chmod(folder.constData(), 0700);
    EXPECT_EQ(CSingleInstance::UserSocketPath(), CSingleInstance::SocketPathIn(runtime.path()));
    qunsetenv("XDG_RUNTIME_DIR");
    CSingleInstance off {QString()};
    EXPECT_FALSE(off.Listen());
    EXPECT_FALSE(off.HandOver({}));
}
