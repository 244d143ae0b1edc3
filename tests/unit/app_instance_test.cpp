#include "app/startup/app_instance.h"

#include <gtest/gtest.h>

#include <vector>

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

// Whether the object's security descriptor has a null access list, which
// lets every account open it.
bool HasNullAccessList(HANDLE object) {
  DWORD needed = 0;
  GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  std::vector<unsigned char> descriptor(needed);
  if (needed == 0 || !GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, descriptor.data(),
                                              needed, &needed)) {
    ADD_FAILURE() << "no security descriptor: " << GetLastError();
    return false;
  }
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL list = nullptr;
  EXPECT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted));
  return present && list == nullptr;
}

TEST(CreateAppInstanceTest, TheMarkerIsInheritableAndOpenToEveryone) {
  const std::wstring name = L"Local\\NEBTestMarker" + std::to_wstring(GetCurrentProcessId());
  CreateAppInstance(name);
  UniqueHandle opened(OpenMutexW(READ_CONTROL | SYNCHRONIZE, FALSE, name.c_str()));
  ASSERT_TRUE(opened.Valid());
  EXPECT_TRUE(HasNullAccessList(opened.Get()));
  UniqueHandle again(CreateAppInstance(name));
  DWORD flags = 0;
  ASSERT_TRUE(GetHandleInformation(again.Get(), &flags));
  EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);

  // A mutex made with the default security has an access list of its own:
  // the check above tells the two apart.
  UniqueHandle plain(CreateMutexW(nullptr, FALSE, (name + L"Plain").c_str()));
  EXPECT_FALSE(HasNullAccessList(plain.Get()));
}

}  // namespace
