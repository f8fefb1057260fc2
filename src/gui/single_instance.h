#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// One running program per user: a second start hands its files to the first
// through a local socket and ends. The socket lives in the user's private
// runtime folder and only the same user may connect, so nobody else can
// stand in for the first program or read the files handed over.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // `name`: the socket's path; empty turns the feature off (both calls
    // below then give false).
    explicit CSingleInstance(QString name, QObject* parent = nullptr);

    // The socket's path in a runtime folder.
    static QString SocketPathIn(const QString& runtimeFolder);
    // Whether a folder is this user's alone: owned by the user and not
    // writable by the group or others.
    static bool IsPrivateFolder(const QString& folder);
    // The socket's path in the user's runtime folder ($XDG_RUNTIME_DIR, else
    // the one Qt makes); empty when there is none or it is not private.
    static QString UserSocketPath();

    // True when another instance took the files; this one should end.
    bool HandOver(const QStringList& files);
    // Starts listening for later starts; false when that failed.
    bool Listen();

signals:
    void filesReceived(const QStringList& files);

private:
    QString name;
    QLocalServer* server = nullptr;
};
