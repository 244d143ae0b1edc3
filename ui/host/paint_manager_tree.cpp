// The tree side of the manager: attaching the root, the name map, searches,
// tab order, hooks and deferred deletion.
#include <algorithm>

#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"

namespace SkinUI {

namespace {

template <typename T>
void AddOnce(std::vector<T>& list, T item) {
  if (item && std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

template <typename T>
void RemoveAll(std::vector<T>& list, T item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// Visits every control of a subtree: a test that never answers makes the
// search walk all of it.
template <typename Visit>
void ForEachControl(CControlUI* root, Visit visit) {
  if (root == nullptr) return;
  struct Walk {
    static CControlUI* Step(CControlUI* control, void* data) {
      (*static_cast<Visit*>(data))(control);
      return nullptr;
    }
  };
  root->FindControlBy(&Walk::Step, &visit, kFindAll);
}

CControlUI* Self(CControlUI* control, void*) { return control; }

}  // namespace

bool CPaintManagerUI::AttachRoot(CControlUI* root) {
  if (root == nullptr) return false;
  if (shadow_) shadow_->Prepare(attributes_);
  tabSupport_.clear();
  tabIndex_ = -1;
  focus_ = captured_ = hover_ = keyDown_ = toolTipControl_ = nullptr;
  names_.clear();
  if (root_ && root_ != root) {
    deleteQueue_.push_back(root_);
    PostQueueMessage();
  }
  root_ = root;
  firstLayout_ = true;
  layoutNeeded_ = true;
  root->NeedOwnLayout();
  if (attributes_.autoDpi) ApplyDpi(ProcessDpi());
  ApplyWindowOpacity();
  root->AttachManager(this, nullptr, true);
  root->InitControl();
  if (attributes_.switchResources >= 0) {
    ForEachControl(root, [this](CControlUI* each) { each->SwitchResources(attributes_.switchResources); });
  }
  RegisterNames(root);
  return true;
}

void CPaintManagerUI::RegisterNames(CControlUI* control) {
  ForEachControl(control, [this](CControlUI* each) {
    const std::wstring name = each->ControlName();
    if (!name.empty()) names_[name] = each;
  });
}

CControlUI* CPaintManagerUI::LookupControl(const std::wstring& name) const {
  const auto found = names_.find(name);
  return found == names_.end() ? nullptr : found->second;
}

CControlUI* CPaintManagerUI::LookupControlAt(POINT point) const {
  if (root_ == nullptr) return nullptr;
  return root_->FindControlBy(&Self, &point, kFindVisible | kFindHitTest | kFindTopFirst);
}

std::vector<CControlUI*> CPaintManagerUI::CollectByClass(CControlUI* root, const std::wstring& className) const {
  std::vector<CControlUI*> found;
  ForEachControl(root ? root : root_, [&found, &className](CControlUI* each) {
    if (className == L"*" || className == each->ControlClass()) found.push_back(each);
  });
  return found;
}

bool CPaintManagerUI::NextTabControl(bool forward) {
  if (!attributes_.normalTab || root_ == nullptr) return false;
  if (layoutNeeded_) {
    focusNeeded_ = true;
    return true;
  }
  focusNeeded_ = false;
  std::vector<CControlUI*> stops;
  ForEachControl(root_, [&stops](CControlUI* each) {
    if ((each->ControlFlags() & 1) && each->IsShown() && each->IsEnabledUI()) stops.push_back(each);
  });
  if (stops.empty()) return false;
  const auto at = std::find(stops.begin(), stops.end(), focus_);
  size_t next = 0;
  if (at != stops.end()) {
    const size_t here = static_cast<size_t>(at - stops.begin());
    next = forward ? (here + 1) % stops.size() : (here + stops.size() - 1) % stops.size();
  } else if (!forward) {
    next = stops.size() - 1;
  }
  SetFocusControl(stops[next]);
  return true;
}

// The tab-support list moves the focus forward only, whatever Shift says.
void CPaintManagerUI::CycleTabSupport() {
  const auto focused = std::find(tabSupport_.begin(), tabSupport_.end(), focus_);
  int start = focused != tabSupport_.end() ? static_cast<int>(focused - tabSupport_.begin()) + 1 : tabIndex_ + 1;
  for (size_t tried = 0; tried < tabSupport_.size() && !tabSupport_.empty();) {
    const size_t index = static_cast<size_t>(start) % tabSupport_.size();
    CControlUI* candidate = tabSupport_[index];
    if (!IsInTree(candidate)) {
      tabSupport_.erase(tabSupport_.begin() + static_cast<std::ptrdiff_t>(index));
      start = static_cast<int>(index);
      continue;
    }
    ++tried;
    if (candidate->IsShown()) {
      tabIndex_ = static_cast<int>(index);
      SetFocusControl(candidate);
      return;
    }
    start = static_cast<int>(index) + 1;
  }
}

void CPaintManagerUI::ForgetSubtree(CControlUI* control) {
  ForEachControl(control, [this](CControlUI* each) { ForgetControl(each); });
}

void CPaintManagerUI::QueueForDeletion(CControlUI* control) {
  AddOnce(deleteQueue_, control);
  PostQueueMessage();
}

void CPaintManagerUI::PostQueueMessage() {
  if (!queuePosted_ && window_) queuePosted_ = PostMessageW(window_, kMsgQueuedNotify, 0, 0) != FALSE;
}

void CPaintManagerUI::AddPreFilter(IMessageFilterUI* filter) { AddOnce(preFilters_, filter); }
void CPaintManagerUI::RemovePreFilter(IMessageFilterUI* filter) { RemoveAll(preFilters_, filter); }
void CPaintManagerUI::AddFilter(IMessageFilterUI* filter) { AddOnce(filters_, filter); }
void CPaintManagerUI::RemoveFilter(IMessageFilterUI* filter) { RemoveAll(filters_, filter); }
void CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* hook) { AddOnce(accelerators_, hook); }
void CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* hook) { RemoveAll(accelerators_, hook); }
void CPaintManagerUI::AddPostPaint(CControlUI* control) { AddOnce(postPaint_, control); }
void CPaintManagerUI::RemovePostPaint(CControlUI* control) { RemoveAll(postPaint_, control); }
void CPaintManagerUI::AddNativeChild(HWND child) { AddOnce(nativeChildren_, child); }

}  // namespace SkinUI
