// The statistics library's texts: the endpoint addresses it accepts, the
// request it writes, the status it reads and the records it sends.
#include <gtest/gtest.h>

#include <cstdio>

#include "product/rkstat/http_text.h"
#include "product/rkstat/stat_record.h"

namespace {

TEST(HttpUrlTest, AddressesThatParse) {
  struct Case {
    const char* url;
    const char* host;
    unsigned short port;
    const char* target;
  } cases[] = {
      {"http://stat.example.net/api/InstallStat", "stat.example.net", 80, "/api/InstallStat"},
      {"HTTP://127.0.0.1:8101/api/InstallStat", "127.0.0.1", 8101, "/api/InstallStat"},
      {"http://example.org", "example.org", 80, "/"},
      {"http://example.org?ruleShow=true", "example.org", 80, "/?ruleShow=true"},
      {"http://example.org:65535/feed?ruleShow=true", "example.org", 65535, "/feed?ruleShow=true"},
  };
  for (const Case& c : cases) {
    HttpUrl url;
    ASSERT_TRUE(ParseHttpUrl(c.url, url)) << c.url;
    EXPECT_EQ(url.host, c.host) << c.url;
    EXPECT_EQ(url.port, c.port) << c.url;
    EXPECT_EQ(url.target, c.target) << c.url;
  }
}

TEST(HttpUrlTest, AddressesThatDoNot) {
  for (const char* bad : {"", "https://example.org/", "ftp://example.org/", "http://", "http:///path",
                          "http://example.org:/", "http://example.org:0/", "http://example.org:65536/",
                          "http://example.org:80x/", "example.org/api"}) {
    HttpUrl url;
    EXPECT_FALSE(ParseHttpUrl(bad, url)) << bad;
  }
}

TEST(HttpRequestTest, PostNamesTheHostAndTheBodyLength) {
  HttpUrl url{"127.0.0.1", 8101, "/api/InstallStat"};
  EXPECT_EQ(HttpPostRequest(url, "{}"),
            "POST /api/InstallStat HTTP/1.1\r\nHost: 127.0.0.1:8101\r\nUser-Agent: rkstat/2.0\r\n"
            "Content-Type: application/json\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}");
  url.port = 80;
  EXPECT_NE(HttpPostRequest(url, "").find("Host: 127.0.0.1\r\nUser-Agent"), std::string::npos);
}

TEST(HttpStatusTest, TheFirstLineOnceComplete) {
  struct Case {
    const char* answer;
    int status;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\n", 200}, {"HTTP/1.0 204 No Content\r\nX: y\r\n\r\n", 204}, {"HTTP/1.1 404\r\n", 404},
      {"HTTP/1.1 200 OK", 0},       {"", 0},                                          {"SSH-2.0-x\r\n", 0},
      {"HTTP/1.1 2000 OK\r\n", 0},  {"HTTP/1.1 2x0 OK\r\n", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HttpStatusCode(c.answer), c.status) << c.answer;
}

TEST(StatRecordTest, RecordsCarryTheIdentity) {
  StatIdentity identity;
  identity.appId = 145;
  identity.unionId = 27028;
  identity.version[0] = 2;
  identity.version[3] = 14;
  identity.level = 2;
  const char* head = R"({"event":"%s","appid":145,"unionid":27028,"version":"2.0.0.14","level":2)";
  auto expected = [head](const char* event, const std::string& tail) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, head, event);
    return buffer + tail;
  };
  EXPECT_EQ(InstallRecord(identity, 3), expected("install", R"(,"type":3})"));
  const std::uint32_t codes[] = {7, 4294967295u};
  EXPECT_EQ(ActionRecord(identity, codes, 2), expected("action", R"(,"codes":[7,4294967295]})"));
  EXPECT_EQ(ActionRecord(identity, codes, 0), expected("action", R"(,"codes":[]})"));
  EXPECT_EQ(ReportRecord(StatIdentity{}, 0),
            R"({"event":"report","appid":0,"unionid":0,"version":"0.0.0.0","level":0,"type":0})");
}

}  // namespace
