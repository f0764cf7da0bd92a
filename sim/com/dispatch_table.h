#pragma once

// The members an IDispatch implementation offers: name, DISPID and handlers (see
// dispatch_handler.h). Built once per class, usually in a function-local static:
//   static const DispatchTable<Item>& DispatchMembers() {
//     static const auto table = DispatchTable<Item>()
//         .Property("Subject", &Item::Subject, &Item::SetSubject)
//         .Method("Move", &Item::Move)
//         .Method("ItemSend", 0xF002, &Sink::ItemSend);
//     return table;
//   }
// Members without a DISPID get the next free one from 1 on.

#include "com/dispatch_handler.h"
#include "com/utf.h"

#include <concepts>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace qor::com {

// Names compare as Office compares them: ignoring case.
bool DispatchNamesEqual(std::wstring_view left, std::wstring_view right) noexcept;
[[noreturn]] void ThrowDuplicateMember(std::wstring_view name);

namespace detail {
// GetIDsOfNames' answer for a member numbered `first` (DISPID_UNKNOWN when there is none).
HRESULT FindDispIds(UINT count, DISPID* ids, DISPID first) noexcept;
}  // namespace detail

template <class D>
struct DispatchMember {
  std::wstring name;
  DISPID id = DISPID_UNKNOWN;
  DispatchHandler<D> get;
  DispatchHandler<D> put;
  DispatchHandler<D> method;
};

// Anything but a number, so that a DISPID is never taken for a handler.
template <class F>
concept DispatchHandlerLike = !std::is_arithmetic_v<std::remove_cvref_t<F>>;

template <class D>
class DispatchTable {
 public:
  template <DispatchHandlerLike G>
  DispatchTable& Property(std::string_view name, G getter) {
    return Add(name, next_, MakeHandler<D>(std::move(getter)), {}, {});
  }
  template <DispatchHandlerLike G, DispatchHandlerLike S>
  DispatchTable& Property(std::string_view name, G getter, S setter) {
    return Add(name, next_, MakeHandler<D>(std::move(getter)), MakeHandler<D>(std::move(setter)), {});
  }
  template <DispatchHandlerLike M>
  DispatchTable& Method(std::string_view name, M handler) {
    return Add(name, next_, {}, {}, MakeHandler<D>(std::move(handler)));
  }
  template <DispatchHandlerLike G>
  DispatchTable& Property(std::string_view name, DISPID id, G getter) {
    return Add(name, id, MakeHandler<D>(std::move(getter)), {}, {});
  }
  template <DispatchHandlerLike G, DispatchHandlerLike S>
  DispatchTable& Property(std::string_view name, DISPID id, G getter, S setter) {
    return Add(name, id, MakeHandler<D>(std::move(getter)), MakeHandler<D>(std::move(setter)), {});
  }
  template <DispatchHandlerLike M>
  DispatchTable& Method(std::string_view name, DISPID id, M handler) {
    return Add(name, id, {}, {}, MakeHandler<D>(std::move(handler)));
  }

  const DispatchMember<D>* Find(DISPID id) const noexcept {
    for (const auto& member : members_)
      if (member.id == id) return &member;
    return nullptr;
  }
  const DispatchMember<D>* Find(std::wstring_view name) const noexcept {
    for (const auto& member : members_)
      if (DispatchNamesEqual(member.name, name)) return &member;
    return nullptr;
  }

 private:
  DispatchTable& Add(std::string_view name, DISPID id, DispatchHandler<D> get, DispatchHandler<D> put,
                     DispatchHandler<D> method) {
    DispatchMember<D> member{ToUtf16(name), id, std::move(get), std::move(put), std::move(method)};
    if (Find(member.name) != nullptr || Find(id) != nullptr) ThrowDuplicateMember(member.name);
    if (id >= next_) next_ = id + 1;
    members_.push_back(std::move(member));
    return *this;
  }

  std::vector<DispatchMember<D>> members_;
  DISPID next_ = 1;
};

}  // namespace qor::com
