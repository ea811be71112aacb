// One SMTP exchange over libcurl's multi interface, with the program's events run meanwhile.
#include "platform/mail/Smtp.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

namespace platform::mail {
namespace {

constexpr int32_t kTimedOut = 10060;
constexpr int32_t kConnectionRefused = 10061;
constexpr int32_t kHostNotFound = 11001;
constexpr int32_t kLoginDenied = 535;
constexpr int32_t kTransferFailed = 10000;  // plus libcurl's code, when nothing says more

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string hostPart(const std::string& server) {
    const size_t colon = server.rfind(':');
    return colon == std::string::npos ? server : server.substr(0, colon);
}

// Names under "invalid" never exist (RFC 6761): they are refused without a lookup.
bool reservedName(const std::string& server) {
    const std::string host = lower(hostPart(server));
    return host == "invalid" || host.ends_with(".invalid");
}

struct Upload {
    const std::string& text;
    size_t sent = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const size_t n = std::min(size * count, upload->text.size() - upload->sent);
    std::copy_n(upload->text.data() + upload->sent, n, buffer);
    upload->sent += n;
    return n;
}

int replyCode(const std::string& reply) {
    if (reply.size() < 3 || !std::isdigit(uint8_t(reply[0])) || !std::isdigit(uint8_t(reply[1])) ||
        !std::isdigit(uint8_t(reply[2])))
        return 0;
    return std::stoi(reply.substr(0, 3));
}

// The server's last refusal, which says why; the QUIT that follows a failure answers 221.
int traceReplies(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    if (type != CURLINFO_HEADER_IN) return 0;
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (replyCode(line) >= 400) *static_cast<std::string*>(user) = line;
    return 0;
}

Failure failureOf(CURLcode code, const char* detail, const std::string& lastReply) {
    std::string description = detail[0] ? detail : curl_easy_strerror(code);
    const int reply = replyCode(lastReply);
    if (reply >= 400 && lastReply.find(description) == std::string::npos)
        description += " (" + lastReply + ")";
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return {kHostNotFound, description};
    case CURLE_COULDNT_CONNECT: return {kConnectionRefused, description};
    case CURLE_OPERATION_TIMEDOUT: return {kTimedOut, description};
    case CURLE_LOGIN_DENIED: return {reply >= 400 ? reply : kLoginDenied, description};
    default: return {reply >= 400 ? reply : kTransferFailed + int32_t(code), description};
    }
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

Failure SmtpControl::Connect() {
    connected_ = false;
    if (cleanAddress(HostName).empty()) return {kHostNotFound, "No SMTP server set"};
    if (reservedName(HostName)) return {kHostNotFound, "Host not found: " + HostName};
    connected_ = true;
    return {};
}

void SmtpControl::Disconnect() { connected_ = false; }

Failure SmtpControl::Send(const Message& message) {
    if (!connected_) return {kNotConnected, "Connection to the server not active"};
    std::string text;
    if (Failure failure = Compose(message, text)) return failure;

    static std::once_flag curlReady;
    std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    std::unique_ptr<curl_slist, ListDeleter> recipients;
    for (const auto* list : {&message.to, &message.cc})
        for (const Address& a : *list)
            recipients.reset(curl_slist_append(recipients.release(),
                                               ("<" + cleanAddress(a.address) + ">").c_str()));
    if (!recipients) return {kNoRecipient, "No recipient"};

    // What the callbacks see is declared before the handles, so that it outlives the QUIT
    // that closing the handles sends.
    Upload upload{text};
    std::string lastReply;
    char detail[CURL_ERROR_SIZE] = {};
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) return {kTransferFailed, "Mail transfer could not start"};

    const std::string server = HostName.find(':') == std::string::npos
                                   ? HostName + ":" + std::to_string(Port)
                                   : HostName;
    const std::string url = "smtp://" + server;
    const std::string from = "<" + cleanAddress(message.from.address) + ">";

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    if (!UserName.empty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, UserName.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, Password.c_str());
    }
    curl_easy_setopt(h, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(text.size()));
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);  // feeds the reply trace, prints nothing
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, traceReplies);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &lastReply);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, long(std::min(TimeoutSeconds, 30)));
    curl_easy_setopt(h, CURLOPT_TIMEOUT, long(TimeoutSeconds));

    curl_multi_add_handle(multi.get(), h);
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        if (!running) break;
        if (WhileWaiting) WhileWaiting();
        curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr);
    }
    CURLcode result = CURLE_SEND_ERROR;
    int pending = 0;
    while (CURLMsg* done = curl_multi_info_read(multi.get(), &pending))
        if (done->msg == CURLMSG_DONE) result = done->data.result;
    curl_multi_remove_handle(multi.get(), h);
    if (result != CURLE_OK) return failureOf(result, detail, lastReply);
    return {};
}

}  // namespace platform::mail
