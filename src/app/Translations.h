#pragma once

#include <QStringList>

namespace lv {

// The languages the user reads, in the order preferred: the system's. Where the environment says
// (Linux, the BSDs), a C or POSIX locale for messages means the texts as written, whatever LANGUAGE
// lists, as for every other program of the desktop.
QStringList userLanguages();

// Installs, on the running application, the program's translation and Qt's own (the texts of
// --help, of standard buttons and dialogs) for the first of `languages` the program is translated
// into. English, the language the program is written in, ends the search, and so does the end of the
// list: the texts then stay as written. A translation that cannot be found or read never stops the
// start. Answers the language installed ("de", "fr"), or an empty string for none.
QString installTranslations(const QStringList &languages = userLanguages());

} // namespace lv
