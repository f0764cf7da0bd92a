// The automation wrappers against the stand-in's Outlook over real COM: what the scan costs in
// calls Outlook serves, and what a failing or vanished Outlook gives.

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "com/com_init.h"
#include "com/com_object.h"
#include "engine/folder_scan.h"
#include "host/automation/outlook_automation.h"
#include "host/memory/memory_outlook.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/outlook_standin.h"

namespace qor::host::automation {
namespace {

using standin::office::StandinCallCounts;
using standin::office::StandinCalls;

// The message of the HostError `call` throws, marked when it is HostDisconnected.
template <class Call>
std::string HostMessage(Call call) {
  try {
    call();
  } catch (const HostDisconnected& error) {
    return std::string("disconnected: ") + error.what();
  } catch (const HostError& error) {
    return error.what();
  }
  return "(no error)";
}

class StandinCallsTest : public ::testing::Test {
 protected:
  ~StandinCallsTest() override {
    application.reset();
    EXPECT_EQ(com::ComObjectsAlive(), 0) << "COM objects of the stand-in leaked";
  }

  com::ComInit init;
  std::shared_ptr<memory::MemoryOutlook> outlook = memory::MemoryOutlook::Create();
  std::shared_ptr<memory::MemoryFolder> bounces = outlook->AddStore("Mailbox")->AddFolder("Bounces", ItemType::Mail);
  std::shared_ptr<Application> application = WrapApplication(standin::CreateOutlookApplication(outlook));
};

TEST_F(StandinCallsTest, Scan_AsksEachMessageForItsBodyAndOnlyANewAddressesMessageForItsEntryId) {
  // Mails, a contact and a report: DISPIDs are shared per kind of item, never across kinds.
  bounces->AddMail("a@example.com");
  bounces->AddMail("A@example.com");
  bounces->AddContact({.body = "b@example.com"});
  bounces->AddMail("c@example.com", {}, ItemClass::Report);
  bounces->AddMail("b@example.com c@example.com");
  bounces->AddMail("d@example.com");
  constexpr int kMessages = 6;
  constexpr int kWithNewAddresses = 4;

  engine::TEmailData data;
  engine::NullProgress progress;
  const StandinCalls before = StandinCallCounts();
  engine::GetEmailAddressesFromFolder(*application, "Mailbox\\Bounces", data, progress);
  const StandinCalls& after = StandinCallCounts();

  ASSERT_EQ(data.size(), 4u);
  EXPECT_EQ(data[1][engine::kMessageEntryId], bounces->ItemAt(3)->EntryID());
  // Reaching the folder: GetNamespace, Folders, Item, Folders, Item, Items, Count.
  constexpr int kToTheFolder = 7;
  EXPECT_EQ(after.calls - before.calls, kToTheFolder + 2 * kMessages + kWithNewAddresses);  // Item, Body; EntryID
  // Each name once per object on the way; the items' names come from their type infos.
  EXPECT_EQ(after.nameLookups - before.nameLookups, kToTheFolder + 1);  // and Items.Item
  EXPECT_EQ(after.typeInfos - before.typeInfos, kToTheFolder + kMessages);
}

TEST_F(StandinCallsTest, FailingCall_NamesTheObjectTheMemberAndTheHresult) {
  bounces->AddMail("a@example.com")->FailWith("The operation failed.");
  const auto folder = application->Session()->Folders()->Item("Mailbox")->Folders()->Item("Bounces");
  // The stand-in reports its failures as E_UNEXPECTED.
  EXPECT_EQ(HostMessage([&] { folder->Items()->Item(1)->Body(); }),
            "MailItem.Body: The operation failed. (0x8000FFFF)");
  EXPECT_EQ(HostMessage([&] { folder->Items()->Restrict("[Nothing] = 'x'"); }),
            "Items.Restrict: The property \"Nothing\" in the condition is not valid. (0x8000FFFF)");
  EXPECT_EQ(HostMessage([&] { application->Session()->Folders()->Item("Nowhere"); }),
            "Folders.Item: The attempted operation failed.  An object could not be found. (0x8000FFFF)");
}

// The stand-in's Outlook served from an apartment of its own, as Outlook serves an add-in that
// reaches it from another process: calls cross a proxy, and closing the apartment disconnects them.
class OutlookApartment {
 public:
  explicit OutlookApartment(std::shared_ptr<memory::MemoryOutlook> outlook) {
    std::promise<IStream*> marshalled;
    auto stream = marshalled.get_future();
    thread_ = std::thread([this, &outlook, &marshalled] {
      com::ComInit init;
      threadId_ = GetCurrentThreadId();
      auto application = standin::CreateOutlookApplication(std::move(outlook));
      IStream* raw = nullptr;
      CoMarshalInterThreadInterfaceInStream(__uuidof(IDispatch), application.Get(), &raw);
      marshalled.set_value(raw);
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    });
    IStream* raw = stream.get();
    if (raw != nullptr) CoGetInterfaceAndReleaseStream(raw, __uuidof(IDispatch), application_.PutVoid());
  }
  ~OutlookApartment() { Close(); }
  OutlookApartment(const OutlookApartment&) = delete;
  OutlookApartment& operator=(const OutlookApartment&) = delete;

  com::ComPtr<IDispatch> Application() const { return application_; }
  void Close() {
    if (!thread_.joinable()) return;
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
  com::ComPtr<IDispatch> application_;
};

// Contacts whose addresses carry their number; every seventh field empty, one address in capitals.
std::shared_ptr<memory::MemoryOutlook> OutlookWithContacts(const std::string& version, int count) {
  auto outlook = memory::MemoryOutlook::Create(version);
  const auto folder = outlook->AddStore("Mailbox")->AddFolder("Contacts", ItemType::Contact);
  for (int n = 0; n < count; ++n) {
    const std::string number = std::to_string(n);
    folder->AddContact({.email1Address = n % 7 == 0 ? "" : "one" + number + "@example.com",
                        .email2Address = n == 5 ? "TWO@EXAMPLE.COM" : "",
                        .email3Address = "three" + number + "@example.org"});
  }
  return outlook;
}

std::vector<ContactAddresses> ContactsThroughCom(const std::shared_ptr<memory::MemoryOutlook>& outlook) {
  const auto application = WrapApplication(standin::CreateOutlookApplication(outlook));
  return application->Session()->Folders()->Item("Mailbox")->Folders()->Item("Contacts")->ContactAddressList();
}

TEST_F(StandinCallsTest, ContactAddressList_TakesAFewCallsPerThousandContactsFromOutlook2007AndWalksTheItemsBefore) {
  constexpr int kContacts = 2500;
  const auto outlook16 = OutlookWithContacts("16.0.0.4266", kContacts);
  const auto expected = outlook16->Stores().front()->FindSubfolder("Contacts")->ContactAddressList();
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(kContacts));

  StandinCalls before = StandinCallCounts();
  EXPECT_EQ(ContactsThroughCom(outlook16), expected);
  // To the folder: GetNamespace, Folders, Item, Folders, Item. The table: GetTable, Columns,
  // RemoveAll, Add 4 times, GetRowCount, GetArray 3 times (1,000 rows each at most).
  constexpr int kToTheFolder = 5;
  EXPECT_EQ(StandinCallCounts().calls - before.calls, kToTheFolder + 11);
  EXPECT_EQ(StandinCallCounts().nameLookups - before.nameLookups, kToTheFolder + 6);

  // Outlook 2003 has no tables: the items one by one, the same list.
  const auto outlook2003 = OutlookWithContacts("11.0.0.8312", kContacts);
  before = StandinCallCounts();
  const auto walked = ContactsThroughCom(outlook2003);
  ASSERT_EQ(walked.size(), expected.size());
  for (std::size_t n = 0; n < walked.size(); ++n) {
    EXPECT_EQ(walked[n].email1Address, expected[n].email1Address);
    EXPECT_EQ(walked[n].email3Address, expected[n].email3Address);
  }
  EXPECT_GT(StandinCallCounts().calls - before.calls, 5 * kContacts);

  // Across apartments the batches travel marshalled.
  OutlookApartment apartment(outlook16);
  const auto remote = WrapApplication(apartment.Application());
  EXPECT_EQ(remote->Session()->Folders()->Item("Mailbox")->Folders()->Item("Contacts")->ContactAddressList(), expected);
}

TEST_F(StandinCallsTest, ClosedOutlook_IsHostDisconnectedNamingTheMember) {
  bounces->AddMail("a@example.com");
  OutlookApartment apartment(outlook);
  ASSERT_TRUE(apartment.Application());
  const auto remote = WrapApplication(apartment.Application());
  const auto items = remote->Session()->Folders()->Item("Mailbox")->Folders()->Item("Bounces")->Items();
  ASSERT_EQ(items->Count(), 1);

  apartment.Close();
  const std::string message = HostMessage([&] { items->Count(); });
  // Wine answers HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF) once the apartment has gone.
  EXPECT_EQ(message.substr(0, message.find(" (0x")),
            "disconnected: Items.Count: Outlook is no longer reachable: it was closed or stopped responding. Start "
            "Outlook again and repeat the action.");
}

}  // namespace
}  // namespace qor::host::automation
