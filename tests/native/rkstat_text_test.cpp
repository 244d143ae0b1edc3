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
    bool secure;
  } cases[] = {
      {"http://stat.example.net/api/InstallStat", "stat.example.net", 80, "/api/InstallStat", false},
      {"HTTP://127.0.0.1:8101/api/InstallStat", "127.0.0.1", 8101, "/api/InstallStat", false},
      {"http://example.org", "example.org", 80, "/", false},
      {"http://example.org?ruleShow=true", "example.org", 80, "/?ruleShow=true", false},
      {"http://example.org:65535/feed?ruleShow=true", "example.org", 65535, "/feed?ruleShow=true", false},
      {"https://stat.example.net/api/InstallStat", "stat.example.net", 443, "/api/InstallStat", true},
      {"HTTPS://127.0.0.1:8443", "127.0.0.1", 8443, "/", true},
      {"https://example.org:80?x=1", "example.org", 80, "/?x=1", true},
  };
  for (const Case& c : cases) {
    HttpUrl url;
    ASSERT_TRUE(ParseHttpUrl(c.url, url)) << c.url;
    EXPECT_EQ(url.host, c.host) << c.url;
    EXPECT_EQ(url.port, c.port) << c.url;
    EXPECT_EQ(url.target, c.target) << c.url;
    EXPECT_EQ(url.secure, c.secure) << c.url;
  }
}

TEST(HttpUrlTest, AddressesThatDoNot) {
  for (const char* bad : {"", "ftp://example.org/", "http://", "http:///path", "http://example.org:/",
                          "http://example.org:0/", "http://example.org:65536/", "http://example.org:80x/",
                          "example.org/api", "https://", "https:///path", "https://example.org:0/",
                          "https:/example.org/", "httpss://example.org/"}) {
    HttpUrl url;
    EXPECT_FALSE(ParseHttpUrl(bad, url)) << bad;
  }
}

TEST(HttpRequestTest, PostNamesTheHostAndTheBodyLength) {
  HttpUrl url{"127.0.0.1", 8101, "/api/InstallStat"};
  EXPECT_EQ(HttpPostRequest(url, "{}"),
            "POST /api/InstallStat HTTP/1.1\r\nHost: 127.0.0.1:8101\r\nUser-Agent: rkstat/2.0\r\n"
            "Content-Type: application/json\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}");
  // The port goes into the Host line unless it is the scheme's own.
  struct Case {
    unsigned short port;
    bool secure;
    const char* hostLine;
  } cases[] = {
      {80, false, "Host: 127.0.0.1\r\n"},
      {443, false, "Host: 127.0.0.1:443\r\n"},
      {443, true, "Host: 127.0.0.1\r\n"},
      {80, true, "Host: 127.0.0.1:80\r\n"},
  };
  for (const Case& c : cases) {
    url.port = c.port;
    url.secure = c.secure;
    EXPECT_NE(HttpPostRequest(url, "").find(c.hostLine), std::string::npos) << c.port << " " << c.secure;
  }
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
