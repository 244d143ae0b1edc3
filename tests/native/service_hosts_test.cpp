// The service hosts a product's settings may name.
#include <gtest/gtest.h>

#include "tools/nebpack/service_hosts.h"

namespace nebpack {
namespace {

TEST(ServiceHostsTest, HostNamesWithAndWithoutPorts) {
  struct Case {
    const wchar_t* text;
    bool portAllowed;
    bool sound;
  };
  const Case cases[] = {
      {L"service.lumetrica.example", false, true},
      {L"127.0.0.1", false, true},
      {L"a-b.example", false, true},
      {L"localhost:8443", true, true},
      {L"localhost:8443", false, false},
      {L"localhost:0", true, false},
      {L"localhost:65536", true, false},
      {L"localhost:", true, false},
      {L"localhost:12a", true, false},
      {L"", false, false},
      {L"bad host.example", false, false},
      {L"https://service.example", true, false},
      {L"service.example/path", false, false},
      {L"-lead.example", false, false},
      {L"trail-.example", false, false},
      {L"double..dot", false, false},
      {L"trailing.dot.", false, false},
      {L"服务.example", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostProblem(c.text, c.portAllowed).empty(), c.sound) << c.text << " " << c.portAllowed;
  }
  EXPECT_TRUE(HostProblem(std::wstring(63, L'a') + L".example", false).empty());
  EXPECT_FALSE(HostProblem(std::wstring(64, L'a') + L".example", false).empty());
  EXPECT_FALSE(HostProblem(std::wstring(250, L'a') + L".example", false).empty());
}

}  // namespace
}  // namespace nebpack
