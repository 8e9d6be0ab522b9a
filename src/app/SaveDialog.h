#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

namespace lv {

// Asks, over the window, where to save a file of that kind (first in the user's documents, under that
// name), then writes there what `contents` gives, whole or not at all; a failure is told in a message
// box naming the file and why.
void saveWithDialog(QWidget *parent, const QString &title, const QString &fileName, const QString &filter,
                    const std::function<QByteArray()> &contents);

} // namespace lv
