// clHttp over QNetworkAccessManager: one request at a time, answers saved whole to their file.
#include "platform/http/Http.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>
#include <QUrl>

#include "platform/WinPath.h"

namespace platform::http {

struct Http::Impl {
    QNetworkAccessManager manager;
    QPointer<QNetworkReply> reply;
    std::string fileName;
    std::optional<HttpError> failure;
};

namespace {

std::string statusLineOf(QNetworkReply& reply) {
    const int code = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    std::string line = "HTTP/1.1 " + std::to_string(code);
    if (!reason.isEmpty()) line += " " + reason.toStdString();
    return line;
}

// The body replaces the file whole, so a reader never sees half an answer.
void saveBody(const std::string& fileName, const QByteArray& body) {
    const std::filesystem::path host = winpath::toHost(fileName);
    if (host.empty()) return;
    QSaveFile file(QString::fromStdString(host.string()));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(body);
    file.commit();
}

}  // namespace

Http::Http() : impl_(std::make_unique<Impl>()) {}

Http::~Http() { Close(); }

void Http::Get(const std::string& url, std::string& fileName) {
    Close();
    impl_->failure.reset();
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || (address.scheme() != "http" && address.scheme() != "https") ||
        address.host().isEmpty())
        throw HttpError(vb::kInvalidArgument, "Invalid address: " + url);
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // The answer handlers expect an HTTP/1.1 status line, even from an https service.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    impl_->fileName = fileName;
    QNetworkReply* reply = impl_->manager.get(request);
    impl_->reply = reply;
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply] {
        reply->deleteLater();
        if (impl_->reply != reply) return;  // closed meanwhile
        impl_->reply = nullptr;
        if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            impl_->failure = HttpError(vb::kUnexpectedFailure, reply->errorString().toStdString());
            return;
        }
        saveBody(impl_->fileName, reply->readAll());
        std::vector<std::string> header{statusLineOf(*reply)};
        for (const auto& [name, value] : reply->rawHeaderPairs())
            header.push_back(name.toStdString() + ": " + value.toStdString());
        if (OnReceiveResponse) OnReceiveResponse(header);
    });
}

void Http::Close() {
    QNetworkReply* reply = impl_->reply;
    impl_->reply = nullptr;
    if (reply) {
        reply->abort();
        reply->deleteLater();
    }
}

bool Http::Busy() const { return impl_->reply != nullptr; }

std::optional<HttpError> Http::Failure() const { return impl_->failure; }

}  // namespace platform::http
