#include "ui/controls/option/option_groups.h"

#include <algorithm>

namespace SkinUI {

void COptionGroups::Join(const std::wstring& group, CControlUI* option) {
  std::vector<CControlUI*>& members = groups_[group];
  if (std::find(members.begin(), members.end(), option) == members.end()) members.push_back(option);
}

void COptionGroups::Leave(const std::wstring& group, CControlUI* option) {
  const auto found = groups_.find(group);
  if (found == groups_.end()) return;
  std::vector<CControlUI*>& members = found->second;
  members.erase(std::remove(members.begin(), members.end(), option), members.end());
  if (members.empty()) groups_.erase(found);
}

std::vector<CControlUI*> COptionGroups::Members(const std::wstring& group) const {
  const auto found = groups_.find(group);
  return found == groups_.end() ? std::vector<CControlUI*>{} : found->second;
}

}  // namespace SkinUI
