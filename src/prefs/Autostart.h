#pragma once

#include <QByteArray>
#include <QString>

namespace lv {

// Where the desktop looks for what to start at log-in: $XDG_CONFIG_HOME/autostart/lorvane-client.desktop.
QString autostartEntryPath();

// One argument of a desktop entry's Exec line, quoted and escaped when it holds a reserved character.
QString execArgument(const QString &argument);

// The desktop entry that starts the program at log-in, minimised to the tray.
QByteArray autostartEntry(const QString &program);

// Writes the entry for the program when enabled and removes it when not; false when that failed,
// the failure saying why.
bool setStartAtLogin(bool enabled, const QString &program, QString *failure = nullptr);

} // namespace lv
