#include "prefs/Autostart.h"

#include "common/FileContents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace lv {

QString autostartEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/lorvane-client.desktop");
}

QString execArgument(const QString &argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return kReserved.contains(c); }))
        return text;
    // Inside quotes, " ` $ and \ take a backslash; the entry's own escaping then doubles every backslash.
    QString quoted;
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            quoted += QLatin1String("\\\\\\\\");
        else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QLatin1String("\\\\") + c;
        else if (c == QLatin1Char('\n'))
            quoted += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            quoted += QLatin1String("\\t");
        else
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray autostartEntry(const QString &program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Lorvane Client\n"
                          "Comment=Uploads what the +Lorvane_Harvex addon recorded\n"
                          "Exec=%1 --minimized\n"
                          "Icon=lorvane-client\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(program))
        .toUtf8();
}

bool setStartAtLogin(bool enabled, const QString &program, QString *failure) {
    const QString path = autostartEntryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        if (failure)
            *failure = QCoreApplication::translate("Autostart", "%1 could not be removed").arg(path);
        return false;
    }
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        if (failure)
            *failure = QCoreApplication::translate("Autostart", "the folder %1 could not be made").arg(folder);
        return false;
    }
    return writeFileAtomically(path, {autostartEntry(program)}, failure);
}

} // namespace lv
