#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

struct LVSiteConfig {
    std::map<std::string, std::string> users; // name -> clear password
    std::filesystem::path dataFolder = "lorvane-site-data";
    std::filesystem::path addonFolder; // empty: the manifest lists no files
    int throttleSeconds = 60;          // how long /auth answers "2" after a user's accepted upload
    std::string publicBaseUrl;         // empty: http://127.0.0.1:<port>
    bool logRequests = true;
    std::function<void(const std::string &line)> logSink; // empty: standard error
};
