#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// One running program per user: a second start hands its files to the first
// through a local socket and ends.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QString name, QObject* parent = nullptr);

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
