#include "ui/host/notify_pump.h"

#include <cwchar>

namespace SkinUI {

namespace {

// Within one table an entry naming the sender wins at once; failing that
// the last entry of the type without a control name.
const MessageMapEntry* FindEntry(const MessageMap& map, const NotifyRecord& record) {
  const MessageMapEntry* anySender = nullptr;
  for (const MessageMapEntry* entry = map.entries; entry->signature != kSignatureEnd; ++entry) {
    if (record.type != entry->type) continue;
    const wchar_t* name = entry->controlName ? entry->controlName : L"";
    if (*name == L'\0') anySender = entry;
    else if (record.senderName == name) return entry;
  }
  return anySender;
}

}  // namespace

bool CNotifyPump::AddVirtualWindow(const std::wstring& name, CNotifyPump* pump) {
  if (pump == nullptr || virtualWindows_.count(name)) return false;
  virtualWindows_[name] = pump;
  return true;
}

bool CNotifyPump::RemoveVirtualWindow(const std::wstring& name) { return virtualWindows_.erase(name) > 0; }

bool CNotifyPump::LoopDispatch(NotifyRecord& record) {
  for (const MessageMap* map = NotifyMap(); map; map = map->base) {
    const MessageMapEntry* entry = FindEntry(*map, record);
    if (entry == nullptr) continue;
    if (entry->signature == kSignatureWords) (this->*(entry->withWords))(record.wParam, record.lParam);
    else (this->*(entry->withRecord))(record);
    return true;
  }
  return false;
}

void CNotifyPump::NotifyPump(NotifyRecord& record) {
  if (record.sender == nullptr) return;
  if (!record.virtualWindow.empty()) {
    const auto found = virtualWindows_.find(record.virtualWindow);
    if (found != virtualWindows_.end() && found->second->LoopDispatch(record)) return;
  }
  LoopDispatch(record);
}

}  // namespace SkinUI
