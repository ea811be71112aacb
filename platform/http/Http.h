// The HTTP request control (clHttp and its kin) over Qt Network: a GET saved to a file, the
// answer's header lines reported by an event once the whole answer is on disk.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/VbErrors.h"

namespace platform::http {

class HttpError : public std::runtime_error {
public:
    HttpError(int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int32_t number() const { return number_; }

private:
    int32_t number_;
};

class Http {
public:
    Http();
    ~Http();
    Http(const Http&) = delete;
    Http& operator=(const Http&) = delete;

    // Operation 63: starts a GET of the address and returns at once; the answer's body goes to
    // the file (a Windows path), whatever its status. Raises vb::kInvalidArgument for an
    // address that is not http:// or https://. A lost or failed connection raises
    // vb::kUnexpectedFailure. A request still running is dropped first.
    void Get(const std::string& url, std::string& fileName);
    // Operation 2: drops the request; no event comes for it afterwards.
    void Close();

    bool Busy() const;
    // Set when the last request ended without any HTTP answer (refused, reset, host unknown);
    // cleared by the next Get.
    std::optional<HttpError> Failure() const;

    // The answer's header: the status line first ("HTTP/1.1 200 OK"; every HTTP/1.x answer
    // reads as HTTP/1.1, Qt does not tell 1.0 from 1.1), then one "Name: value" per field.
    // Redirections are not followed: a 301 is an answer like any other.
    std::function<void(const std::vector<std::string>& responseHeader)> OnReceiveResponse;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::http
