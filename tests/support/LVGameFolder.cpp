#include "LVGameFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

LVGameFolder::LVGameFolder(const QString &applicationName)
    : mApplicationName(applicationName) {
    writeFile(applicationName, "placeholder for the game\n");
}

QString LVGameFolder::applicationPath() const {
    return filePath(mApplicationName);
}

QString LVGameFolder::filePath(const QString &relativePath) const {
    return mDir.filePath(relativePath);
}

LVGameFolder &LVGameFolder::addAccount(const QString &name) {
    return addFolder(QStringLiteral("WTF/Account/") + name + QStringLiteral("/SavedVariables"));
}

LVGameFolder &LVGameFolder::addLocale(const QString &name) {
    return addFolder(QStringLiteral("Cache/WDB/") + name);
}

LVGameFolder &LVGameFolder::addFolder(const QString &relativePath) {
    QDir(mDir.path()).mkpath(relativePath);
    return *this;
}

LVGameFolder &LVGameFolder::writeFile(const QString &relativePath, const QByteArray &contents) {
    const QString path = filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return *this;
}

QByteArray LVGameFolder::readFile(const QString &relativePath) const {
    QFile file(filePath(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
