#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A game folder in a temporary folder, built up by a test: accounts, locales and files.
class LVGameFolder {
public:
    explicit LVGameFolder(const QString &applicationName = QStringLiteral("Wow.exe"));

    QString path() const { return mDir.path(); }
    QString applicationPath() const;
    QString filePath(const QString &relativePath) const;

    LVGameFolder &addAccount(const QString &name);
    LVGameFolder &addLocale(const QString &name);
    LVGameFolder &addFolder(const QString &relativePath);
    LVGameFolder &writeFile(const QString &relativePath, const QByteArray &contents);
    QByteArray readFile(const QString &relativePath) const;

private:
    QTemporaryDir mDir;
    QString mApplicationName;
};
