#include "app/app_instance.h"

#include <gtest/gtest.h>

#include "base/handles.h"

namespace {

TEST(AppInstanceNameTest, SuffixOnlyForTheDefaultNameAndANonZeroId) {
  EXPECT_EQ(AppInstanceName(kDefaultMutexBaseName, 145, true),
            L"Global\\{1CF5C34D-F0D8-4507-8600-70E64159BB61}145");
  EXPECT_EQ(AppInstanceName(kDefaultMutexBaseName, 0, true), kDefaultMutexBaseName);
  EXPECT_EQ(AppInstanceName(L"MyGuid", 145, false), L"MyGuid");
  EXPECT_EQ(AppInstanceName(kDefaultMutexBaseName, -3, true),
            L"Global\\{1CF5C34D-F0D8-4507-8600-70E64159BB61}-3");
}

TEST(AppInstanceNameTest, NameIsCutToAPathBuffer) {
  EXPECT_EQ(AppInstanceName(std::wstring(400, L'n'), 1, true).size(), 259u);
}

TEST(CreateAppInstanceTest, OnlyTheSecondClaimGetsAHandle) {
  const std::wstring name = L"Local\\NEBTestInstance" + std::to_wstring(GetCurrentProcessId());
  EXPECT_EQ(CreateAppInstance(name), nullptr);  // the first claim keeps its mutex open
  UniqueHandle second(CreateAppInstance(name));
  EXPECT_TRUE(second.Valid());
}

TEST(CreateAppInstanceTest, TheMarkerIsInheritableAndOpenToEveryone) {
  const std::wstring name = L"Local\\NEBTestMarker" + std::to_wstring(GetCurrentProcessId());
  CreateAppInstance(name);
  UniqueHandle opened(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
  ASSERT_TRUE(opened.Valid());
  UniqueHandle again(CreateAppInstance(name));
  DWORD flags = 0;
  ASSERT_TRUE(GetHandleInformation(again.Get(), &flags));
  EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
}

}  // namespace
