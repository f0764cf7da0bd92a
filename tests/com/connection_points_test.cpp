#include "com/connection_points.h"
#include "com/dispatch_impl.h"

#include "com_test_support.h"

#include <functional>
#include <string>
#include <vector>

namespace qor::com {
namespace {

using testing::ComTest;
using testing::Junk;

constexpr DISPID kItemSend = 0xF002;
constexpr DISPID kQuit = 0xF007;

class Source final : public ComObject<Source, ConnectionPointContainerImpl> {
 public:
  explicit Source(std::vector<std::string>* log = nullptr) : log_(log) { AddConnectionPoint(__uuidof(DTestEvents)); }
  ~Source() override {
    if (log_ != nullptr) log_->push_back("source destroyed");
  }

 private:
  std::vector<std::string>* log_;
};

// Records every event it receives; a call it was not built for fails the Fire.
class Sink final : public ComObject<Sink, DispatchImpl<Sink>> {
 public:
  Sink(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  ~Sink() override { log_.push_back(name_ + " destroyed"); }

  static const DispatchTable<Sink>& DispatchMembers() {
    static const auto table = DispatchTable<Sink>()
                                  .Method("ItemSend", kItemSend, &Sink::ItemSend)
                                  .Method("Quit", kQuit, &Sink::Quit);
    return table;
  }
  bool ExtraInterface(REFIID iid) const noexcept { return iid == __uuidof(DTestEvents); }

  // Advises itself and keeps the connection point: a reference cycle until Quit.
  void Connect(Source& source) {
    ThrowIfFailed(source.FindConnectionPoint(__uuidof(DTestEvents), point_.Put()));
    ThrowIfFailed(point_->Advise(static_cast<IDispatch*>(this), &cookie_));
  }

  std::function<void()> onSend;
  bool cancel = false;
  bool fail = false;
  DWORD cookie_ = 0;

 private:
  void ItemSend(std::string subject, RefArg cancelSend) {
    log_.push_back(name_ + " ItemSend " + subject + (cancelSend.Get().ToBool() ? " cancelled" : ""));
    if (fail) throw std::runtime_error("The sink broke.");
    if (cancel) cancelSend.Set(true);
    if (onSend) onSend();
    log_.push_back(name_ + " returns");
  }
  void Quit() {
    log_.push_back(name_ + " Quit");
    if (point_) point_->Unadvise(cookie_);
    point_.Reset();
    log_.push_back(name_ + " returns");
  }

  std::string name_;
  std::vector<std::string>& log_;
  ComPtr<IConnectionPoint> point_;
};

// A sink that knows only IDispatch, as script sinks do.
class DispatchOnly final : public ComObject<DispatchOnly, DispatchImpl<DispatchOnly>> {
 public:
  static const DispatchTable<DispatchOnly>& DispatchMembers() {
    static const DispatchTable<DispatchOnly> table{};
    return table;
  }
};

class Plain final : public ComObject<Plain, IPersist> {
 public:
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) noexcept override { return E_NOTIMPL; }
};

ComPtr<IConnectionPoint> PointOf(Source& source) {
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(source.FindConnectionPoint(__uuidof(DTestEvents), point.Put()), S_OK);
  return point;
}

DWORD Advise(IConnectionPoint& point, const ComPtr<Sink>& sink) {
  DWORD cookie = 0;
  EXPECT_EQ(point.Advise(static_cast<IDispatch*>(sink.Get()), &cookie), S_OK);
  return cookie;
}

using ConnectionPointsTest = ComTest;

TEST_F(ConnectionPointsTest, FindAdviseAndUnadviseFollowTheComRules) {
  std::vector<std::string> log;
  const ComPtr<Source> source = Make<Source>();
  IConnectionPoint* other = Junk<IConnectionPoint>();
  EXPECT_EQ(source->FindConnectionPoint(__uuidof(IDispatch), &other), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(source->FindConnectionPoint(__uuidof(DTestEvents), nullptr), E_POINTER);
  IEnumConnectionPoints* points = Junk<IEnumConnectionPoints>();
  EXPECT_EQ(source->EnumConnectionPoints(&points), E_NOTIMPL);
  EXPECT_EQ(points, nullptr);

  const ComPtr<IConnectionPoint> point = PointOf(*source);
  EXPECT_REF(source.Get(), 2);  // the point lends its container's count
  IID iid{};
  EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, __uuidof(DTestEvents));
  ComPtr<IConnectionPointContainer> container;
  EXPECT_EQ(point->GetConnectionPointContainer(container.Put()), S_OK);
  EXPECT_EQ(container.Get(), static_cast<IConnectionPointContainer*>(source.Get()));
  container.Reset();

  DWORD cookie = 0xdeadbeef;
  EXPECT_EQ(point->Advise(Make<Plain>().Get(), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);
  EXPECT_EQ(point->Advise(Make<DispatchOnly>().Get(), &cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);

  const ComPtr<Sink> sink = Make<Sink>("sink", log);
  cookie = Advise(*point, sink);
  EXPECT_NE(cookie, 0u);
  EXPECT_REF(sink.Get(), 2);
  EXPECT_EQ(source->SinkCount(__uuidof(DTestEvents)), 1u);
  EXPECT_EQ(point->Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_REF(sink.Get(), 1);
  source->Fire(__uuidof(DTestEvents), kQuit);
  EXPECT_TRUE(log.empty());
}

TEST_F(ConnectionPointsTest, Fire_ReachesSinksInOrderAndWritesTheCancelFlagBack) {
  std::vector<std::string> log;
  const ComPtr<Source> source = Make<Source>();
  const auto point = PointOf(*source);
  const ComPtr<Sink> first = Make<Sink>("first", log);
  const ComPtr<Sink> second = Make<Sink>("second", log);
  first->cancel = true;
  Advise(*point, first);
  Advise(*point, second);

  VARIANT_BOOL cancel = VARIANT_FALSE;
  const FireResult result = source->Fire(__uuidof(DTestEvents), kItemSend, "Invoice", Variant::ByRef(&cancel));
  EXPECT_EQ(cancel, VARIANT_TRUE);
  EXPECT_EQ(result.sinksCalled, 2u);
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(log, (std::vector<std::string>{"first ItemSend Invoice", "first returns",
                                           "second ItemSend Invoice cancelled", "second returns"}));
}

TEST_F(ConnectionPointsTest, Fire_SkipsSinksUnadvisedDuringTheCallAndKeepsTheCallerAlive) {
  std::vector<std::string> log;
  const ComPtr<Source> source = Make<Source>();
  const auto point = PointOf(*source);
  ComPtr<Sink> first = Make<Sink>("first", log);
  const ComPtr<Sink> second = Make<Sink>("second", log);
  const ComPtr<Sink> third = Make<Sink>("third", log);
  const DWORD firstCookie = Advise(*point, first);
  Advise(*point, second);
  const DWORD thirdCookie = Advise(*point, third);
  first->onSend = [&] {
    EXPECT_EQ(point->Unadvise(firstCookie), S_OK);
    EXPECT_EQ(point->Unadvise(thirdCookie), S_OK);
  };
  first.Reset();  // from now on only the connection point holds the first sink

  VARIANT_BOOL cancel = VARIANT_FALSE;
  FireResult result = source->Fire(__uuidof(DTestEvents), kItemSend, "A", Variant::ByRef(&cancel));
  EXPECT_EQ(result.sinksCalled, 2u);
  EXPECT_EQ(log, (std::vector<std::string>{"first ItemSend A", "first returns", "second ItemSend A", "second returns",
                                           "first destroyed"}));
  log.clear();
  result = source->Fire(__uuidof(DTestEvents), kItemSend, "B", Variant::ByRef(&cancel));
  EXPECT_EQ(result.sinksCalled, 1u);
  EXPECT_EQ(log, (std::vector<std::string>{"second ItemSend B", "second returns"}));
  EXPECT_REF(third.Get(), 1);
}

TEST_F(ConnectionPointsTest, Fire_CollectsSinkFailuresAndCallsTheRest) {
  std::vector<std::string> log;
  const ComPtr<Source> source = Make<Source>();
  const auto point = PointOf(*source);
  const ComPtr<Sink> broken = Make<Sink>("broken", log);
  const ComPtr<Sink> healthy = Make<Sink>("healthy", log);
  broken->fail = true;
  Advise(*point, broken);
  Advise(*point, healthy);

  VARIANT_BOOL cancel = VARIANT_FALSE;
  FireResult result = source->Fire(__uuidof(DTestEvents), kItemSend, "X", Variant::ByRef(&cancel));
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_STREQ(result.failures[0].what(), "The sink broke.");
  EXPECT_EQ(result.failures[0].Code(), E_UNEXPECTED);
  EXPECT_EQ(log.back(), "healthy returns");
  // Sinks fail on calls they were not built for, and the caller hears of it.
  result = source->Fire(__uuidof(DTestEvents), 0x1234);
  EXPECT_EQ(result.failures.size(), 2u);
  EXPECT_EQ(result.failures[0].Code(), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ConnectionPointsTest, References_NoCycleOutlivesUnadviseOrTheSource) {
  std::vector<std::string> log;
  {
    ComPtr<Source> source = Make<Source>();
    ComPtr<Sink> sink = Make<Sink>("holder", log);
    sink->Connect(*source);
    sink.Reset();
    EXPECT_EQ(ComObjectsAlive(), 2);
    source->Fire(__uuidof(DTestEvents), kQuit);
    EXPECT_EQ(log, (std::vector<std::string>{"holder Quit", "holder returns", "holder destroyed"}));
    EXPECT_REF(source.Get(), 1);
  }
  EXPECT_EQ(ComObjectsAlive(), 0);

  // The sink drops the last reference to the source while the source is firing.
  log.clear();
  {
    ComPtr<Source> source = Make<Source>(&log);
    const ComPtr<Sink> sink = Make<Sink>("holder", log);
    sink->Connect(*source);
    Source* firing = source.Get();
    source.Reset();
    firing->Fire(__uuidof(DTestEvents), kQuit);
    EXPECT_EQ(log, (std::vector<std::string>{"holder Quit", "holder returns", "source destroyed"}));
  }

  const ComPtr<Sink> survivor = Make<Sink>("survivor", log);
  {
    const ComPtr<Source> source = Make<Source>();
    Advise(*PointOf(*source), survivor);
    EXPECT_REF(survivor.Get(), 2);
  }
  EXPECT_REF(survivor.Get(), 1);
}

}  // namespace
}  // namespace qor::com
