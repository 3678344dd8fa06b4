#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace tavomi {

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
    , m_key(key)
{}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
}

QString SingleInstance::defaultKey()
{
    // One copy per program folder and user.
    const QByteArray seed = (QDir::homePath() + QStringLiteral("|tavomi")).toUtf8();
    return QStringLiteral("tavomi-") + QString::fromLatin1(QCryptographicHash::hash(seed, QCryptographicHash::Sha1).toHex().left(12));
}

bool SingleInstance::tryAcquire()
{
    const QString lockPath = QDir(QDir::tempPath()).filePath(m_key + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(lockPath);
    // A lock whose owner process is gone is removed by QLockFile itself; the stale time
    // only matters for owners that hang.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(100)) {
        m_lock.reset();
        return false;
    }
    QLocalServer::removeServer(m_key);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            s->deleteLater();
        }
        Q_EMIT raiseRequested();
    });
    m_server->listen(m_key);
    return true;
}

bool SingleInstance::signalRunning() const
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    const bool ok = socket.waitForConnected(500);
    if (ok) {
        socket.write("raise");
        socket.waitForBytesWritten(200);
        socket.disconnectFromServer();
    }
    return ok;
}

} // namespace tavomi
