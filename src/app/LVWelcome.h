#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;

// The welcome of the first start, at the top of the main window: what the client does and what it
// still needs, the game and a sign-in, with a button for the next step. It leaves, and the window
// shrinks back, once the client has both.
class LVWelcome : public QObject {
    Q_OBJECT
public:
    LVWelcome(QFrame *panel, QLabel *text, QPushButton *button, QObject *parent = nullptr);

    void show();
    bool isShown() const;
    // The games found, as the user reads them ("Retail (Lutris)"), and the user signed in, if any.
    void update(const QStringList &games, const QString &signedInAs);

signals:
    void signInRequested();
    void chooseGameRequested();

private:
    void hide();
    void fitWindow();

    QPointer<QFrame> mPanel;
    QPointer<QLabel> mText;
    QPointer<QPushButton> mButton;
    bool mSignedIn = false;
};

namespace lv {

// The welcome's text (rich text; the names in it are escaped): what the client does, then whether the
// game was found and whether the user is signed in.
QString welcomeText(const QStringList &games, const QString &signedInAs);

} // namespace lv
