#pragma once
// A stand-in for the desktop's launcher of web addresses: a shell script.
#include <string>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lintora::testing {

// A launcher named name in dir that runs body with the address as $1.
inline std::string Launcher(const QTemporaryDir& dir, const char* name, const QString& body) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body.toUtf8() + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path.toStdString();
}

}  // namespace lintora::testing
