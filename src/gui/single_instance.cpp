#include "gui/single_instance.h"

#include <QDataStream>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The socket's name in the runtime folder.
constexpr const char* kSocketName = "ridizav";

} // namespace

CSingleInstance::CSingleInstance(QString name, QObject* parent)
    : QObject(parent)
    , name(std::move(name))
{
}

QString CSingleInstance::SocketPathIn(const QString& runtimeFolder)
{
    return runtimeFolder + QLatin1Char('/') + QLatin1String(kSocketName);
}

bool CSingleInstance::IsPrivateFolder(const QString& folder)
{
    struct stat info { };
    if (folder.isEmpty() || ::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
        && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString CSingleInstance::UserSocketPath()
{
    // The folder the session names is checked as it is (Qt would quietly
    // change its mode); without one Qt makes the user a folder of its own.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return IsPrivateFolder(folder) ? SocketPathIn(folder) : QString();
}

bool CSingleInstance::HandOver(const QStringList& files)
{
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(500))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << files;
    socket.write(message);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

bool CSingleInstance::Listen()
{
    if (name.isEmpty())
        return false;
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        // A server left behind by a program that crashed: nobody answered
        // HandOver, so the name is free to take.
        QLocalServer::removeServer(name);
        if (!server->listen(name))
            return false;
    }
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, [this, socket] {
                QDataStream in(socket->readAll());
                QStringList files;
                in >> files;
                socket->deleteLater();
                if (in.status() == QDataStream::Ok)
                    emit filesReceived(files);
            });
        }
    });
    return true;
}
