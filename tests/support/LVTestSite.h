#pragma once

#include "LVSiteServer.h"

#include <QString>
#include <QTemporaryDir>

class LVSettings;

// The reference site, in this process, on a free loopback port, with one known user.
class LVTestSite {
public:
    static constexpr char kUser[] = "alice";
    static constexpr char kPassword[] = "s3cret pässword";

    explicit LVTestSite(const QString &addonFolder = QString(), int throttleSeconds = 60);
    ~LVTestSite();

    LVSiteServer &server() { return *mServer; }
    QString url(const QString &path) const;
    // Points the client's three service addresses at this site.
    void configure(LVSettings &settings) const;

private:
    QTemporaryDir mData;
    std::unique_ptr<LVSiteServer> mServer;
};
