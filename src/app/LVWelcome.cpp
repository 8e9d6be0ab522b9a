#include "app/LVWelcome.h"

#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace {

// One line of what the client needs: a tick when it has it, else a bullet and what to do.
QString needLine(bool done, const QString &text) {
    return QStringLiteral("<tr><td style='color:%1; padding-right:6px'>%2</td><td>%3</td></tr>")
        .arg(done ? QStringLiteral("#8fd18f") : QStringLiteral("#f0c674"),
             done ? QStringLiteral("✓") : QStringLiteral("•"), text);
}

} // namespace

LVWelcome::LVWelcome(QFrame *panel, QLabel *text, QPushButton *button, QObject *parent)
    : QObject(parent)
    , mPanel(panel)
    , mText(text)
    , mButton(button) {
    connect(button, &QPushButton::clicked, this, [this] {
        if (mSignedIn)
            emit chooseGameRequested();
        else
            emit signInRequested();
    });
}

void LVWelcome::show() {
    if (!mPanel)
        return;
    mPanel->show();
    fitWindow();
}

// The window grows to hold the welcome's lines whole, at the width it has.
void LVWelcome::fitWindow() {
    QWidget *window = mPanel->window();
    if (!window->layout())
        return;
    window->layout()->activate();
    const int needed = window->layout()->totalHeightForWidth(window->width());
    if (needed > window->height())
        window->resize(window->width(), needed);
}

bool LVWelcome::isShown() const {
    return mPanel && !mPanel->isHidden();
}

void LVWelcome::update(const QStringList &games, const QString &signedInAs) {
    if (!isShown())
        return;
    if (!games.isEmpty() && !signedInAs.isEmpty()) {
        hide();
        return;
    }
    mSignedIn = !signedInAs.isEmpty();
    mText->setText(lv::welcomeText(games, signedInAs));
    mButton->setText(mSignedIn ? tr("&Choose the game…") : tr("Sign &in…"));
    fitWindow();
}

// The window gives back the room the welcome took.
void LVWelcome::hide() {
    QWidget *window = mPanel->window();
    const int room = mPanel->height() + (window->layout() ? window->layout()->spacing() : 0);
    mPanel->hide();
    if (window->layout())
        window->layout()->activate();
    window->resize(window->width(), std::max(window->height() - room, window->minimumSizeHint().height()));
}

QString lv::welcomeText(const QStringList &games, const QString &signedInAs) {
    QStringList escaped;
    for (const QString &game : games)
        escaped << game.toHtmlEscaped();
    const QString game = games.isEmpty() ? LVWelcome::tr("The game: not found yet. Choose its program in Options.")
                                         : LVWelcome::tr("The game: %1.").arg(escaped.join(QStringLiteral(", ")));
    const QString account =
        signedInAs.isEmpty() ? LVWelcome::tr("Your Lorvane account: sign in with your site user name and password.")
                             : LVWelcome::tr("Your Lorvane account: signed in as %1.").arg(signedInAs.toHtmlEscaped());
    return LVWelcome::tr(
               "<b>Welcome!</b> Lorvane Client sends what the +Lorvane_Harvex addon records in the game to the "
               "Lorvane site, keeps the addon up to date, and can upload by itself whenever the game quits. It "
               "needs:") +
           QStringLiteral("<table style='margin-top:4px'>%1%2</table>")
               .arg(needLine(!games.isEmpty(), game), needLine(!signedInAs.isEmpty(), account));
}
