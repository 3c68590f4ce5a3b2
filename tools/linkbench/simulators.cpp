// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulators.h"

#include <QCoreApplication>

bool Simulators::start(int count, int baud, int chunk, const QStringList &extra)
{
    for (int i = 0; i < count; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProgram(QCoreApplication::applicationDirPath() + "/rw830kt_txsim");
        p->setArguments(
            QStringList{"--baud", QString::number(baud), "--chunk", QString::number(chunk)} +
            extra);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start();
        if (!p->waitForStarted() || !p->waitForReadyRead())
            return false;
        devices_ << QString::fromLocal8Bit(p->readLine()).trimmed();
        processes_.push_back(std::move(p));
    }
    return true;
}

Simulators::~Simulators()
{
    for (auto &p : processes_) {
        p->terminate();
        p->waitForFinished();
    }
}
