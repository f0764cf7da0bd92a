#pragma once

// Turns a C++ callable into the handler of one IDispatch member. A handler takes the object
// first, then either typed parameters, each read from the argument at its position, or the raw
// `const DispatchArgs&`:
//   [](Item& self) { return self.Subject(); }                           // getter, no arguments
//   [](Item& self, std::string subject) { self.SetSubject(subject); }  // setter: the value is last
//   &Folder::MoveTo                                                     // member function pointer
//   [](Items& self, std::optional<int> index) { ... }                  // optional: may be left out
//   [](Sink& self, ComPtr<IDispatch> item, RefArg cancel) { cancel.Set(true); }
// Parameter types: Variant, std::string, std::wstring, any integer, double, bool,
// ComPtr<IDispatch>, RefArg, std::optional of those. The result is converted to a Variant.

#include "com/dispatch_args.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace qor::com {

template <class D>
struct DispatchHandler {
  std::function<Variant(D&, const DispatchArgs&)> call;
  std::size_t minArgs = 0;
  std::size_t maxArgs = 0;

  explicit operator bool() const noexcept { return static_cast<bool>(call); }
};

namespace detail {

template <class T>
struct ArgReader;
template <>
struct ArgReader<Variant> {
  static Variant Read(const DispatchArgs& args, std::size_t i) { return args.Value(i); }
};
template <>
struct ArgReader<std::string> {
  static std::string Read(const DispatchArgs& args, std::size_t i) { return args.Value(i).ToUtf8(); }
};
template <>
struct ArgReader<std::wstring> {
  static std::wstring Read(const DispatchArgs& args, std::size_t i) { return args.Value(i).ToUtf16(); }
};
template <std::integral T>
  requires(!std::same_as<T, bool>)
struct ArgReader<T> {
  static T Read(const DispatchArgs& args, std::size_t i) {
    const std::int64_t value = args.Value(i).ToInt64();
    if (!std::in_range<T>(value)) throw ComError(DISP_E_OVERFLOW);
    return static_cast<T>(value);
  }
};
template <>
struct ArgReader<double> {
  static double Read(const DispatchArgs& args, std::size_t i) { return args.Value(i).ToDouble(); }
};
template <>
struct ArgReader<bool> {
  static bool Read(const DispatchArgs& args, std::size_t i) { return args.Value(i).ToBool(); }
};
template <>
struct ArgReader<ComPtr<IDispatch>> {
  static ComPtr<IDispatch> Read(const DispatchArgs& args, std::size_t i) { return args.Value(i).ToDispatch(); }
};
template <>
struct ArgReader<RefArg> {
  static RefArg Read(const DispatchArgs& args, std::size_t i) { return args.Ref(i); }
};
template <class T>
struct ArgReader<std::optional<T>> {
  static std::optional<T> Read(const DispatchArgs& args, std::size_t i) {
    if (args.IsMissing(i)) return std::nullopt;
    return ArgReader<T>::Read(args, i);
  }
};

template <class T>
inline constexpr bool kIsOptional = false;
template <class T>
inline constexpr bool kIsOptional<std::optional<T>> = true;

template <class T>
T ReadArg(const DispatchArgs& args, std::size_t position) {
  try {
    return ArgReader<T>::Read(args, position);
  } catch (const ArgumentError&) {
    throw;
  } catch (const ComError& error) {
    throw ArgumentError(error.Code(), position);
  }
}

// Arguments a caller must pass: up to the last one that is not optional.
template <class... A>
constexpr std::size_t RequiredCount() {
  constexpr bool optional[] = {kIsOptional<std::remove_cvref_t<A>>..., false};
  std::size_t required = 0;
  for (std::size_t i = 0; i < sizeof...(A); ++i)
    if (!optional[i]) required = i + 1;
  return required;
}

template <class... T>
struct TypeList {};

template <class Call>
struct CallSignature;
template <class C, class R, class Self, class... A>
struct CallSignature<R (C::*)(Self, A...) const> {
  using Result = R;
  using Params = TypeList<A...>;
};
template <class C, class R, class Self, class... A>
struct CallSignature<R (C::*)(Self, A...)> : CallSignature<R (C::*)(Self, A...) const> {};

// Lambdas and other function objects: the object is their first parameter.
template <class F>
struct HandlerSignature : CallSignature<decltype(&F::operator())> {};
template <class R, class Self, class... A>
struct HandlerSignature<R (*)(Self, A...)> {
  using Result = R;
  using Params = TypeList<A...>;
};
// Member functions of the object.
template <class C, class R, class... A>
struct HandlerSignature<R (C::*)(A...)> {
  using Result = R;
  using Params = TypeList<A...>;
};
template <class C, class R, class... A>
struct HandlerSignature<R (C::*)(A...) const> : HandlerSignature<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct HandlerSignature<R (C::*)(A...) noexcept> : HandlerSignature<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct HandlerSignature<R (C::*)(A...) const noexcept> : HandlerSignature<R (C::*)(A...)> {};

template <class R, class F, class D, class... Values>
Variant CallWith(F& handler, D& self, Values&... values) {
  if constexpr (std::is_void_v<R>) {
    std::invoke(handler, self, values...);
    return Variant();
  } else {
    return Variant(std::invoke(handler, self, values...));
  }
}

template <class D, class R, class F, class... A, std::size_t... I>
DispatchHandler<D> BuildHandler(F handler, TypeList<A...>, std::index_sequence<I...>) {
  DispatchHandler<D> built;
  if constexpr (sizeof...(A) == 1 && (std::is_same_v<std::remove_cvref_t<A>, DispatchArgs> && ...)) {
    built.maxArgs = std::numeric_limits<std::size_t>::max();
    built.call = [handler](D& self, const DispatchArgs& args) mutable { return CallWith<R>(handler, self, args); };
  } else {
    built.minArgs = RequiredCount<A...>();
    built.maxArgs = sizeof...(A);
    built.call = [handler](D& self, [[maybe_unused]] const DispatchArgs& args) mutable {
      std::tuple<std::remove_cvref_t<A>...> values{ReadArg<std::remove_cvref_t<A>>(args, I)...};
      return CallWith<R>(handler, self, std::get<I>(values)...);
    };
  }
  return built;
}

}  // namespace detail

template <class D, class F>
DispatchHandler<D> MakeHandler(F handler) {
  using Signature = detail::HandlerSignature<F>;
  using Params = typename Signature::Params;
  return [&]<class... A>(detail::TypeList<A...> params) {
    return detail::BuildHandler<D, typename Signature::Result>(std::move(handler), params,
                                                               std::index_sequence_for<A...>{});
  }(Params{});
}

}  // namespace qor::com
