// The option groups of one window: group name to the options in it, in
// joining order. A group that becomes empty is forgotten.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace SkinUI {

class CControlUI;

class COptionGroups {
 public:
  void Join(const std::wstring& group, CControlUI* option);
  void Leave(const std::wstring& group, CControlUI* option);
  // The members of the group; empty for an unknown group.
  std::vector<CControlUI*> Members(const std::wstring& group) const;

 private:
  std::map<std::wstring, std::vector<CControlUI*>> groups_;
};

}  // namespace SkinUI
