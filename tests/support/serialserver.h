// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debian's ser2net as a real process on the loopback address, offering one serial device
// (the simulator's pseudo-terminal) both ways: with telnet and the COM-PORT-OPTION, and
// raw. For the tests of ports named rfc2217://HOST:PORT and socket://HOST:PORT.

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

namespace rw {

// A TCP port on the loopback address that nothing listens on just now.
inline quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

class SerialServer {
public:
    static QString program()
    {
        QString p = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
        if (p.isEmpty())
            p = QStandardPaths::findExecutable(QStringLiteral("ser2net"), {"/usr/sbin", "/sbin"});
        return p;
    }

    // Starts the server in front of `device`; false when it did not come up listening.
    bool start(const QString &device)
    {
        rfcPort_ = freeLoopbackPort();
        rawPort_ = freeLoopbackPort();
        while (rawPort_ == rfcPort_)
            rawPort_ = freeLoopbackPort();
        const QString config = QStringLiteral("%YAML 1.1\n---\n"
                                              "connection: &rfc2217\n"
                                              "  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                                              "  connector: serialdev,%3,19200n81,local\n"
                                              "  options:\n"
                                              "    kickolduser: true\n"
                                              "    chardelay: false\n"
                                              "connection: &raw\n"
                                              "  accepter: tcp,127.0.0.1,%2\n"
                                              "  connector: serialdev,%3,19200n81,local\n"
                                              "  options:\n"
                                              "    kickolduser: true\n"
                                              "    chardelay: false\n")
                                   .arg(rfcPort_)
                                   .arg(rawPort_)
                                   .arg(device);
        QFile f(dir_.filePath("ser2net.yaml"));
        if (!f.open(QIODevice::WriteOnly) || f.write(config.toUtf8()) < 0)
            return false;
        f.close();
        process_.setProgram(program());
        process_.setArguments({"-n", "-c", f.fileName(), "-P", dir_.filePath("ser2net.pid")});
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start();
        if (!process_.waitForStarted(5000))
            return false;
        // Up once both ports listen. Not tried by connecting: a connection makes the server
        // open the device, and a second one that comes while it closes it again is turned
        // away with a text.
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
            if (listening(rfcPort_) && listening(rawPort_))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    ~SerialServer() { stop(); }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.kill();
        process_.waitForFinished(5000);
    }

    QString rfc2217() const { return QStringLiteral("rfc2217://127.0.0.1:%1").arg(rfcPort_); }
    QString raw() const { return QStringLiteral("socket://127.0.0.1:%1").arg(rawPort_); }

private:
    // Whether a socket listens on the loopback port, as the kernel's table says.
    static bool listening(quint16 port)
    {
        QFile table(QStringLiteral("/proc/net/tcp"));
        if (!table.open(QIODevice::ReadOnly | QIODevice::Text))
            return false;
        const QByteArray local =
            QStringLiteral("0100007F:%1").arg(port, 4, 16, QChar('0')).toUpper().toLatin1();
        // The kernel's tables read as empty files: take what a read gives, not their size.
        for (const QByteArray &line : table.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 3 && fields[1] == local && fields[3] == "0A")
                return true;
        }
        return false;
    }

    QTemporaryDir dir_;
    QProcess process_;
    quint16 rfcPort_ = 0;
    quint16 rawPort_ = 0;
};

} // namespace rw
