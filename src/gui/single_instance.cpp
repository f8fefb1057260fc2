#include "gui/single_instance.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>

CSingleInstance::CSingleInstance(QString name, QObject* parent)
    : QObject(parent)
    , name(std::move(name))
{
}

bool CSingleInstance::HandOver(const QStringList& files)
{
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
