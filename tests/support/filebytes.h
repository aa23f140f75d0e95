// Whole files as bytes, for tests that compare what was written with what
// was meant byte for byte.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// A file that cannot be read reads as a text no file holds, so it never
// passes for an empty one.
inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}
