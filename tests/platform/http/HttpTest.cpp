// The HTTP control against real servers on loopback: answers, silence, refusal, hang-ups.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/VbErrors.h"
#include "platform/http/Http.h"
#include "tests/platform/http/LoopbackHttpServer.h"
#include "tests/platform/http/PythonHttpServer.h"
#include "tests/platform/http/WaitFor.h"
#include "tests/support/TempSite.h"

namespace {

using platform::http::Http;

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HttpTest : public support::SiteTest {
protected:
    void SetUp() override {
        http.OnReceiveResponse = [this](const std::vector<std::string>& header) {
            headers.push_back(header);
        };
    }
    void get(const std::string& url) {
        std::string file = answerFile;
        http.Get(url, file);
    }
    std::filesystem::path answerOnDisk() const { return drive.host(answerFile); }

    Http http;
    std::string answerFile = "C:\\AL3_Answer.xml";
    std::vector<std::vector<std::string>> headers;
};

TEST_F(HttpTest, AnswersComeWithTheirStatusLineAndTheBodyIsSavedWhole) {
    struct Case {
        std::string served;
        std::string statusLine;
    };
    const std::vector<Case> cases = {
        {"HTTP/1.1 200 OK", "HTTP/1.1 200 OK"},
        {"HTTP/1.1 404 Not Found", "HTTP/1.1 404 Not Found"},
        {"HTTP/1.1 500 Internal Server Error", "HTTP/1.1 500 Internal Server Error"},
        {"HTTP/1.1 301 Moved Permanently\r\nLocation: http://127.0.0.1:1/elsewhere",
         "HTTP/1.1 301 Moved Permanently"},
        {"HTTP/1.0 200 OK", "HTTP/1.1 200 OK"},
    };
    webtest::LoopbackHttpServer server;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.served);
        headers.clear();
        const std::string body = "<items><item><Lib1>" + c.served + "</Lib1></item></items>";
        server.answer(c.served, body);
        get(server.base() + "/IAL/DROITS/radio.php?_method=getByIdLocal&IdLocal=K");
        ASSERT_TRUE(webtest::waitFor([&] { return !headers.empty(); }));
        EXPECT_EQ(headers[0][0], c.statusLine);
        EXPECT_NE(std::find(headers[0].begin(), headers[0].end(), "Content-Type: text/xml"),
                  headers[0].end());
        EXPECT_EQ(contentOf(answerOnDisk()), body);
        EXPECT_FALSE(http.Busy());
        EXPECT_FALSE(http.Failure());
    }
    ASSERT_EQ(server.requests().size(), cases.size());
    EXPECT_EQ(server.requests()[0], "GET /IAL/DROITS/radio.php?_method=getByIdLocal&IdLocal=K HTTP/1.1");
}

TEST_F(HttpTest, PythonsOwnServerIsAnsweredLikeAnyOther) {
    const std::filesystem::path folder = drive.root() / "served";
    std::filesystem::create_directories(folder / "IAL" / "DROITS");
    const std::string xml = "<items><item><Lib1>2026.1210</Lib1></item></items>";
    std::ofstream(folder / "IAL" / "DROITS" / "radio.php") << xml;
    webtest::PythonHttpServer server(folder);
    ASSERT_NE(server.port(), 0);

    get(server.base() + "/IAL/DROITS/radio.php?_method=getByIdLocal");
    ASSERT_TRUE(webtest::waitFor([&] { return !headers.empty(); }));
    EXPECT_EQ(headers[0][0], "HTTP/1.1 200 OK");
    EXPECT_EQ(contentOf(answerOnDisk()), xml);

    headers.clear();
    get(server.base() + "/missing.php");
    ASSERT_TRUE(webtest::waitFor([&] { return !headers.empty(); }));
    EXPECT_EQ(headers[0][0], "HTTP/1.1 404 File not found");
}

TEST_F(HttpTest, NoAnswerAtAllIsAFailureAndNoEvent) {
    webtest::LoopbackHttpServer hangingUp;
    hangingUp.hangUp();
    const std::vector<std::string> urls = {"http://127.0.0.1:" + std::to_string(webtest::closedPort()) + "/x",
                                           hangingUp.base() + "/x"};
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        get(url);
        ASSERT_TRUE(webtest::waitFor([&] { return http.Failure().has_value(); }));
        EXPECT_EQ(http.Failure()->number(), platform::vb::kUnexpectedFailure);
        EXPECT_FALSE(std::string(http.Failure()->what()).empty());
        EXPECT_FALSE(http.Busy());
        EXPECT_TRUE(headers.empty());
        EXPECT_FALSE(std::filesystem::exists(answerOnDisk()));
    }
}

TEST_F(HttpTest, AClosedRequestNeverReportsItsLateAnswer) {
    webtest::LoopbackHttpServer server;
    server.stayMute();
    get(server.base() + "/slow");
    ASSERT_TRUE(webtest::waitFor([&] { return server.requests().size() == 1; }));
    EXPECT_TRUE(http.Busy());
    http.Close();
    EXPECT_FALSE(http.Busy());
    webtest::waitFor([] { return false; }, 200);
    EXPECT_TRUE(headers.empty());
    EXPECT_FALSE(http.Failure());
}

TEST_F(HttpTest, AnAddressItCannotUseIsRaisedAtOnce) {
    const std::vector<std::string> unusable = {"", "ftp://127.0.0.1/x", "not an address", "http://"};
    for (const std::string& url : unusable) {
        SCOPED_TRACE(url);
        try {
            get(url);
            ADD_FAILURE() << "no error raised";
        } catch (const platform::http::HttpError& error) {
            EXPECT_EQ(error.number(), platform::vb::kInvalidArgument);
        }
        EXPECT_FALSE(http.Busy());
    }
}

}  // namespace
