#pragma once

#include "LVSiteConfig.h"
#include "LVSiteUpload.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class ContentReader;
class Server;
struct Request;
struct Response;
} // namespace httplib

struct LVSiteRequest {
    std::string method;
    std::string path;  // decoded
    std::string query; // as sent, without the "?"
};

// The site the client talks to: credential check, uploads, the addon manifest and its files, plus
// fixtures for tests (canned replies, an endpoint that never answers, one that reads slowly, one that
// answers a byte at a time, one that pauses after its first byte, one that sends without end and
// without a length). Listens on 127.0.0.1 only, on a
// thread of its own; every accessor may be called from any thread.
class LVSiteServer {
public:
    explicit LVSiteServer(LVSiteConfig config);
    ~LVSiteServer();
    LVSiteServer(const LVSiteServer &) = delete;
    LVSiteServer &operator=(const LVSiteServer &) = delete;

    // port 0 picks a free port. False when the port cannot be bound.
    bool start(int port = 0);
    // Releases stalled requests, then waits for the server thread. Safe to call twice.
    void stop();
    int port() const { return mPort; }
    std::string baseUrl() const;

    // A reply for exactly this method and decoded path, taking precedence over every route.
    void setResponse(const std::string &method, const std::string &path, int status, std::string body,
                     std::string contentType = "text/plain", std::map<std::string, std::string> headers = {});
    void clearResponses();

    std::vector<LVSiteRequest> requests() const;
    std::vector<LVSiteUpload> uploads() const;
    // Forgets the uploads received so far; what they stored stays on disk.
    void clearUploads();

private:
    struct CannedResponse {
        int status = 200;
        std::string body;
        std::string contentType;
        std::map<std::string, std::string> headers;
    };
    using Clock = std::chrono::steady_clock;

    void installRoutes();
    void listen();
    void handleGet(const httplib::Request &request, httplib::Response &response);
    void handlePost(const httplib::Request &request, httplib::Response &response, const httplib::ContentReader &reader);
    void handleAuth(const httplib::Request &request, httplib::Response &response);
    void handleUpload(const httplib::Request &request, httplib::Response &response,
                      const httplib::ContentReader &reader);
    void handleManifest(httplib::Response &response);
    void handleAddonFile(const std::string &relativePath, httplib::Response &response);
    void waitForStop(httplib::Response &response);
    // True when the site began stopping within the time.
    bool waitForStopFor(std::chrono::milliseconds time);
    // Headers and one byte, then nothing until the site stops.
    void pauseAfterFirstByte(httplib::Response &response);
    // One byte every 20 ms, in chunks without an announced length, until the site stops or the
    // client hangs up.
    void sendWithoutEnd(httplib::Response &response);
    // Reads the body at "rate" bytes a second (16 KiB by default), then answers.
    void readSlowly(const httplib::Request &request, httplib::Response &response, const httplib::ContentReader &reader);
    // Answers 200 and sends one byte every 50 ms until the site stops.
    void trickle(httplib::Response &response);
    // Answers 200 with a gigabyte of text.
    void sendHuge(httplib::Response &response);
    bool replyCanned(const httplib::Request &request, httplib::Response &response);
    void remember(const httplib::Request &request);
    void log(const httplib::Request &request, const httplib::Response &response);

    bool credentialsAccepted(const httplib::Request &request) const;
    bool throttled(const std::string &user) const;
    std::filesystem::path newUploadFolder(const std::string &user);
    void accept(LVSiteUpload upload);

    LVSiteConfig mConfig;
    std::unique_ptr<httplib::Server> mHttp;
    std::thread mListener;
    std::atomic<bool> mListenerDone{false};
    int mPort = 0;

    mutable std::mutex mMutex;
    std::map<std::pair<std::string, std::string>, CannedResponse> mCanned;
    std::vector<LVSiteRequest> mRequests;
    std::vector<LVSiteUpload> mUploads;
    std::map<std::string, Clock::time_point> mLastUpload;
    int mUploadSequence = 0;

    std::mutex mStopMutex;
    std::condition_variable mStopped;
    bool mStopping = false;
};
