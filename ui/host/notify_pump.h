// Dispatch of notifications to named handler methods. A class that handles
// notifications keeps a static table of entries and links it to its base
// class's table; the most derived table is searched first.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "ui/controls/notify_record.h"

namespace SkinUI {

class CNotifyPump;

using NotifyHandlerWithWords = void (CNotifyPump::*)(WPARAM wParam, LPARAM lParam);
using NotifyHandlerWithRecord = void (CNotifyPump::*)(NotifyRecord& record);

enum NotifySignature { kSignatureEnd = 0, kSignatureWords = 1, kSignatureRecord = 2 };

struct MessageMapEntry {
  const wchar_t* type;
  const wchar_t* controlName;  // empty: any sender
  NotifySignature signature;
  NotifyHandlerWithWords withWords;
  NotifyHandlerWithRecord withRecord;
};

struct MessageMap {
  const MessageMap* base;
  const MessageMapEntry* entries;  // ends with an entry of signature kSignatureEnd
};

// Entries of a derived class's table; its handlers are member functions of
// that class.
template <typename Window>
constexpr MessageMapEntry OnNotifyRecord(const wchar_t* type, const wchar_t* controlName,
                                         void (Window::*handler)(NotifyRecord&)) {
  return {type, controlName, kSignatureRecord, nullptr, static_cast<NotifyHandlerWithRecord>(handler)};
}
template <typename Window>
constexpr MessageMapEntry OnNotifyWords(const wchar_t* type, const wchar_t* controlName,
                                        void (Window::*handler)(WPARAM, LPARAM)) {
  return {type, controlName, kSignatureWords, static_cast<NotifyHandlerWithWords>(handler), nullptr};
}
constexpr MessageMapEntry kMessageMapEnd{nullptr, nullptr, kSignatureEnd, nullptr, nullptr};

class CNotifyPump {
 public:
  virtual ~CNotifyPump() = default;

  // Passes a record that has a sender to its handler: the pump of the
  // record's virtual window first, then this pump's tables.
  void NotifyPump(NotifyRecord& record);
  bool AddVirtualWindow(const std::wstring& name, CNotifyPump* pump);
  bool RemoveVirtualWindow(const std::wstring& name);

 protected:
  // The most derived table of the class; none for a pump without handlers.
  virtual const MessageMap* NotifyMap() const { return nullptr; }

 private:
  bool LoopDispatch(NotifyRecord& record);

  std::map<std::wstring, CNotifyPump*> virtualWindows_;
};

}  // namespace SkinUI
