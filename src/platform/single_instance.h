#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace tavomi {

// One running copy per user and machine. The first copy holds a lock file and listens on a
// local socket; a later copy finds the lock taken, tells the first copy to raise its window
// and gives up. A lock left by a crashed run is stale and does not block a new start.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first copy (and now holds the lock).
    bool tryAcquire();
    // Asks the running copy to raise its window; true when it answered.
    bool signalRunning() const;

    static QString defaultKey();

Q_SIGNALS:
    // Another copy was started; the running window should come to the front.
    void raiseRequested();

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

inline const QString kAlreadyRunningText = QStringLiteral("警告！！！Windows系统检测到Tavomi已经运行!");

} // namespace tavomi
