#include "LVSiteServer.h"

#include "LVAddonManifest.h"
#include "LVMd5.h"
#include "LVUploadReceiver.h"

#include <httplib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <pthread.h>

namespace fs = std::filesystem;

namespace {

constexpr const char *host = "127.0.0.1";
constexpr const char *addonPrefix = "/addon/";
constexpr size_t workerThreads = 16; // stalled test requests each hold one

// Replies with exactly these bytes. httplib would gzip or brotli-compress a text or XML body set with
// set_content() for any client that accepts it; a body from a provider of known length goes out as is.
void setBody(httplib::Response &response, int status, std::string body, const std::string &contentType) {
    response.status = status;
    if (body.empty())
        return response.set_content(body, contentType);
    auto shared = std::make_shared<const std::string>(std::move(body));
    response.set_content_provider(shared->size(), contentType,
                                  [shared](size_t offset, size_t length, httplib::DataSink &sink) {
                                      return sink.write(shared->data() + offset, length);
                                  });
}

void setText(httplib::Response &response, int status, const std::string &text) {
    setBody(response, status, text, "text/plain");
}

size_t bodySize(const httplib::Response &response) {
    return response.body.empty() ? response.content_length_ : response.body.size();
}

std::string queryOf(const std::string &target) {
    const size_t mark = target.find('?');
    return mark == std::string::npos ? std::string() : target.substr(mark + 1);
}

std::vector<std::string> queryItems(const std::string &query) {
    std::vector<std::string> items;
    size_t begin = 0;
    while (begin <= query.size()) {
        const size_t end = std::min(query.find('&', begin), query.size());
        if (end > begin)
            items.push_back(query.substr(begin, end - begin));
        begin = end + 1;
    }
    return items;
}

std::string itemName(const std::string &item) {
    return item.substr(0, item.find('='));
}

bool isCredential(const std::string &item) {
    const std::string name = itemName(item);
    return name == "username" || name == "password";
}

std::vector<std::string> flagsOf(const std::string &query) {
    std::vector<std::string> flags;
    for (const std::string &item : queryItems(query)) {
        if (!isCredential(item))
            flags.push_back(item.ends_with('=') ? item.substr(0, item.size() - 1) : item);
    }
    return flags;
}

std::string redacted(const std::string &target) {
    const size_t mark = target.find('?');
    if (mark == std::string::npos)
        return target;
    std::string text = target.substr(0, mark + 1);
    const std::vector<std::string> items = queryItems(target.substr(mark + 1));
    for (size_t i = 0; i < items.size(); ++i) {
        const bool secret = itemName(items[i]) == "password";
        text += (i ? "&" : "") + (secret ? std::string("password=***") : items[i]);
    }
    return text;
}

std::string isoTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string folderSafe(const std::string &user) {
    std::string safe = user;
    for (char &c : safe) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
            c = '_';
    }
    return safe;
}

// Reads the rest of a request body we do not want, so the reply is not lost to a connection reset.
void drainBody(const httplib::Request &request, const httplib::ContentReader &reader) {
    if (request.is_multipart_form_data())
        reader([](const httplib::MultipartFormData &) { return true; }, [](const char *, size_t) { return true; });
    else
        reader([](const char *, size_t) { return true; });
}

bool writeTextFile(const fs::path &file, const std::string &text) {
    std::ofstream output(file, std::ios::binary | std::ios::trunc);
    output << text;
    output.close();
    return static_cast<bool>(output);
}

// Sends the file a piece at a time, so that a large one costs the site no more memory than a small one.
void sendFile(httplib::Response &response, const std::shared_ptr<std::ifstream> &input, size_t size) {
    response.status = 200;
    response.set_content_provider(size, "application/octet-stream",
                                  [input](size_t offset, size_t length, httplib::DataSink &sink) {
                                      std::array<char, 64 * 1024> piece;
                                      input->seekg(std::streamoff(offset));
                                      input->read(piece.data(), std::streamsize(std::min(length, piece.size())));
                                      return input->gcount() > 0 && sink.write(piece.data(), size_t(input->gcount()));
                                  });
}

} // namespace

LVSiteServer::LVSiteServer(LVSiteConfig config)
    : mConfig(std::move(config)) {}

LVSiteServer::~LVSiteServer() {
    stop();
}

bool LVSiteServer::start(int port) {
    stop();
    mHttp = std::make_unique<httplib::Server>();
    installRoutes();
    const int bound = port == 0 ? mHttp->bind_to_any_port(host) : (mHttp->bind_to_port(host, port) ? port : -1);
    if (bound <= 0) {
        mHttp.reset();
        return false;
    }
    mPort = bound;
    {
        std::lock_guard lock(mStopMutex);
        mStopping = false;
    }
    mListenerDone = false;
    mListener = std::thread([this] { listen(); });
    // httplib ignores stop() until its loop runs, so a stop() right after start() must not come earlier.
    while (!mHttp->is_running() && !mListenerDone)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void LVSiteServer::listen() {
    // httplib writes with plain send(): a client hanging up would raise SIGPIPE and end the whole
    // process. Blocked here, the worker threads (created by this one) inherit the mask and see EPIPE.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
    mHttp->listen_after_bind();
    mListenerDone = true;
}

void LVSiteServer::stop() {
    if (!mHttp)
        return;
    {
        std::lock_guard lock(mStopMutex);
        mStopping = true;
    }
    mStopped.notify_all();
    mHttp->stop();
    if (mListener.joinable())
        mListener.join();
    mHttp.reset();
}

std::string LVSiteServer::baseUrl() const {
    std::string url = mConfig.publicBaseUrl.empty() ? "http://" + std::string(host) + ":" + std::to_string(mPort)
                                                    : mConfig.publicBaseUrl;
    while (url.ends_with('/'))
        url.pop_back();
    return url;
}

void LVSiteServer::installRoutes() {
    mHttp->Get(".*",
               [this](const httplib::Request &request, httplib::Response &response) { handleGet(request, response); });
    mHttp->Post(".*", [this](const httplib::Request &request, httplib::Response &response,
                             const httplib::ContentReader &reader) { handlePost(request, response, reader); });
    mHttp->set_logger(
        [this](const httplib::Request &request, const httplib::Response &response) { log(request, response); });
    // One request per connection: an idle kept-alive connection would hold a worker, and so stop(), for
    // the whole keep-alive timeout.
    mHttp->set_keep_alive_max_count(1);
    mHttp->set_keep_alive_timeout(1);
    mHttp->new_task_queue = [] { return new httplib::ThreadPool(workerThreads); };
}

void LVSiteServer::handleGet(const httplib::Request &request, httplib::Response &response) {
    remember(request);
    if (replyCanned(request, response))
        return;
    const std::string &path = request.path;
    if (path == "/auth")
        handleAuth(request, response);
    else if (path == "/updates.xml")
        handleManifest(response);
    else if (path.starts_with(addonPrefix))
        handleAddonFile(path.substr(std::string_view(addonPrefix).size()), response);
    else if (path == "/stall")
        waitForStop(response);
    else if (path == "/pause")
        pauseAfterFirstByte(response);
    else if (path == "/endless")
        sendWithoutEnd(response);
    else if (path == "/trickle")
        trickle(response);
    else if (path == "/huge")
        sendHuge(response);
    else
        setText(response, 404, "not found\n");
}

void LVSiteServer::handlePost(const httplib::Request &request, httplib::Response &response,
                              const httplib::ContentReader &reader) {
    remember(request);
    if (replyCanned(request, response))
        return drainBody(request, reader);
    if (request.path == "/stall")
        return waitForStop(response);
    if (request.path == "/slow")
        return readSlowly(request, response, reader);
    if (request.path == "/trickle" || request.path == "/huge") {
        drainBody(request, reader);
        return request.path == "/huge" ? sendHuge(response) : trickle(response);
    }
    if (request.path == "/upload")
        return handleUpload(request, response, reader);
    drainBody(request, reader);
    setText(response, 404, "not found\n");
}

bool LVSiteServer::replyCanned(const httplib::Request &request, httplib::Response &response) {
    std::lock_guard lock(mMutex);
    const auto canned = mCanned.find({request.method, request.path});
    if (canned == mCanned.end())
        return false;
    setBody(response, canned->second.status, canned->second.body, canned->second.contentType);
    for (const auto &[name, value] : canned->second.headers)
        response.set_header(name, value);
    return true;
}

void LVSiteServer::handleAuth(const httplib::Request &request, httplib::Response &response) {
    const char *answer = "1";
    if (credentialsAccepted(request))
        answer = throttled(request.get_param_value("username")) ? "2" : "0";
    setText(response, 200, answer);
}

bool LVSiteServer::credentialsAccepted(const httplib::Request &request) const {
    if (!request.has_param("username") || !request.has_param("password"))
        return false;
    const auto user = mConfig.users.find(request.get_param_value("username"));
    return user != mConfig.users.end() && LVMd5::ofBytes(user->second) == request.get_param_value("password");
}

bool LVSiteServer::throttled(const std::string &user) const {
    std::lock_guard lock(mMutex);
    const auto last = mLastUpload.find(user);
    return last != mLastUpload.end() && Clock::now() - last->second < std::chrono::seconds(mConfig.throttleSeconds);
}

void LVSiteServer::handleUpload(const httplib::Request &request, httplib::Response &response,
                                const httplib::ContentReader &reader) {
    if (!credentialsAccepted(request)) {
        drainBody(request, reader);
        return setText(response, 401, "wrong user name or password\n");
    }
    if (!request.is_multipart_form_data()) {
        drainBody(request, reader);
        return setText(response, 400, "expected a multipart/form-data body\n");
    }
    LVSiteUpload upload{request.get_param_value("username"), flagsOf(queryOf(request.target)), isoTimeNow(), {}, {}};
    upload.folder = newUploadFolder(upload.user);
    if (upload.folder.empty()) {
        drainBody(request, reader);
        return setText(response, 500, "cannot create a folder for the upload\n");
    }
    if (request.has_param("delay")) { // a slow site, for tests of what happens meanwhile
        std::unique_lock lock(mStopMutex);
        mStopped.wait_for(lock, std::chrono::milliseconds(std::stoi(request.get_param_value("delay"))),
                          [this] { return mStopping; });
    }
    LVUploadReceiver receiver(upload.folder);
    const bool bodyComplete = reader(
        [&](const httplib::MultipartFormData &part) {
            receiver.beginPart(part.name, part.filename);
            return true;
        },
        [&](const char *data, size_t size) {
            receiver.append(data, size);
            return true;
        });
    const bool stored = receiver.finish();
    upload.parts = receiver.parts();
    std::error_code ignored;
    if (!bodyComplete || !stored) {
        fs::remove_all(upload.folder, ignored);
        return setText(response, 400, (bodyComplete ? receiver.error() : "malformed multipart body") + "\n");
    }
    if (!writeTextFile(upload.folder / LVSiteUpload::recordFileName, upload.record())) {
        fs::remove_all(upload.folder, ignored);
        return setText(response, 500, "cannot write the upload record\n");
    }
    setText(response, 200, upload.receipt());
    accept(std::move(upload));
}

fs::path LVSiteServer::newUploadFolder(const std::string &user) {
    std::lock_guard lock(mMutex);
    std::error_code error;
    fs::create_directories(mConfig.dataFolder, error);
    for (int attempt = 0; attempt < 100000; ++attempt) {
        char sequence[16];
        std::snprintf(sequence, sizeof sequence, "%04d-", ++mUploadSequence);
        const fs::path folder = mConfig.dataFolder / (sequence + folderSafe(user));
        if (fs::create_directory(folder, error))
            return folder;
        if (error)
            return {};
    }
    return {};
}

void LVSiteServer::accept(LVSiteUpload upload) {
    std::lock_guard lock(mMutex);
    mLastUpload[upload.user] = Clock::now();
    mUploads.push_back(std::move(upload));
}

void LVSiteServer::handleManifest(httplib::Response &response) {
    setBody(response, 200, LVAddonManifest::build(mConfig.addonFolder, baseUrl() + "/addon"), "application/xml");
}

void LVSiteServer::handleAddonFile(const std::string &relativePath, httplib::Response &response) {
    const std::optional<fs::path> file = LVAddonManifest::resolve(mConfig.addonFolder, relativePath);
    std::error_code error;
    const size_t size = file ? size_t(fs::file_size(*file, error)) : 0;
    const auto input = file ? std::make_shared<std::ifstream>(*file, std::ios::binary) : nullptr;
    if (!input || error || !*input)
        return setText(response, 404, "not found\n");
    if (size == 0)
        return setBody(response, 200, std::string(), "application/octet-stream");
    sendFile(response, input, size);
}

void LVSiteServer::waitForStop(httplib::Response &response) {
    std::unique_lock lock(mStopMutex);
    mStopped.wait(lock, [this] { return mStopping; });
    setText(response, 503, "the site is stopping\n");
}

bool LVSiteServer::waitForStopFor(std::chrono::milliseconds time) {
    std::unique_lock lock(mStopMutex);
    return mStopped.wait_for(lock, time, [this] { return mStopping; });
}

// Both go out as binary data, which httplib never compresses: a compressor would hold the bytes back.
void LVSiteServer::pauseAfterFirstByte(httplib::Response &response) {
    response.set_chunked_content_provider("application/octet-stream", [this](size_t offset, httplib::DataSink &sink) {
        if (offset == 0)
            return sink.write("x", 1);
        waitForStopFor(std::chrono::hours(1));
        sink.done();
        return true;
    });
}

void LVSiteServer::sendWithoutEnd(httplib::Response &response) {
    response.set_chunked_content_provider("application/octet-stream", [this](size_t, httplib::DataSink &sink) {
        return sink.write("x", 1) && !waitForStopFor(std::chrono::milliseconds(20));
    });
}

void LVSiteServer::readSlowly(const httplib::Request &request, httplib::Response &response,
                              const httplib::ContentReader &reader) {
    const double rate = request.has_param("rate") ? std::stod(request.get_param_value("rate")) : 16384.0;
    const auto start = Clock::now();
    size_t received = 0;
    const auto pace = [&](size_t size) {
        received += size;
        const auto due =
            start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(received / rate));
        std::unique_lock lock(mStopMutex);
        return !mStopped.wait_until(lock, due, [this] { return mStopping; });
    };
    const bool read = request.is_multipart_form_data() ? reader([](const httplib::MultipartFormData &) { return true; },
                                                                [&](const char *, size_t size) { return pace(size); })
                                                       : reader([&](const char *, size_t size) { return pace(size); });
    setText(response, read ? 200 : 503, read ? "read " + std::to_string(received) + " bytes\n" : "stopping\n");
}

void LVSiteServer::trickle(httplib::Response &response) {
    response.status = 200;
    constexpr size_t announced = 1 << 20; // far more than it will ever send
    response.set_content_provider(announced, "text/plain", [this](size_t, size_t, httplib::DataSink &sink) {
        std::unique_lock lock(mStopMutex);
        if (mStopped.wait_for(lock, std::chrono::milliseconds(50), [this] { return mStopping; }))
            return false;
        return sink.write("0", 1);
    });
}

void LVSiteServer::sendHuge(httplib::Response &response) {
    response.status = 200;
    constexpr size_t size = size_t(1) << 30;
    response.set_content_provider(size, "text/plain", [this](size_t, size_t length, httplib::DataSink &sink) {
        static const std::string block(64 * 1024, '0');
        {
            std::lock_guard lock(mStopMutex);
            if (mStopping)
                return false;
        }
        return sink.write(block.data(), std::min(length, block.size()));
    });
}

void LVSiteServer::remember(const httplib::Request &request) {
    std::lock_guard lock(mMutex);
    mRequests.push_back({request.method, request.path, queryOf(request.target)});
}

void LVSiteServer::log(const httplib::Request &request, const httplib::Response &response) {
    if (!mConfig.logRequests)
        return;
    const std::string line = request.method + " " + redacted(request.target) + " -> " +
                             std::to_string(response.status) + ", " + std::to_string(bodySize(response)) + " bytes";
    if (mConfig.logSink)
        return mConfig.logSink(line);
    static std::mutex stderrMutex;
    std::lock_guard lock(stderrMutex);
    std::fprintf(stderr, "lorvane-site: %s\n", line.c_str());
}

void LVSiteServer::setResponse(const std::string &method, const std::string &path, int status, std::string body,
                               std::string contentType, std::map<std::string, std::string> headers) {
    std::lock_guard lock(mMutex);
    mCanned[{method, path}] = {status, std::move(body), std::move(contentType), std::move(headers)};
}

void LVSiteServer::clearResponses() {
    std::lock_guard lock(mMutex);
    mCanned.clear();
}

std::vector<LVSiteRequest> LVSiteServer::requests() const {
    std::lock_guard lock(mMutex);
    return mRequests;
}

std::vector<LVSiteUpload> LVSiteServer::uploads() const {
    std::lock_guard lock(mMutex);
    return mUploads;
}

void LVSiteServer::clearUploads() {
    std::lock_guard lock(mMutex);
    mUploads.clear();
}
