// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small file helpers shared by the tests.

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>

// Writes `data` as the whole file; the test fails when that does not work.
inline void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every file of the folder, hidden ones included, by name.
inline QStringList fileNames(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
