#include "host/automation/outlook_automation.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "com/com_init.h"
#include "com/com_test_support.h"
#include "fake_dispatch.h"
#include "host/memory/memory_outlook.h"

namespace qor::host::automation {
namespace {

using com::ComPtr;
using com::Make;
using com::Variant;
using testing::Fails;
using testing::FakeDispatch;
using testing::Returns;

// The message of the HostError `call` throws; any other exception fails the test.
template <class Call>
std::string HostMessage(Call call) {
  try {
    call();
  } catch (const HostError& error) {
    return error.what();
  }
  return "(no error)";
}

// A collection answering Count, Item(i) and a GetFirst/GetNext walk that ends in `end`.
ComPtr<FakeDispatch> Collection(std::vector<ComPtr<FakeDispatch>> members, Variant end = Variant(nullptr)) {
  auto collection = Make<FakeDispatch>();
  auto cursor = std::make_shared<std::size_t>(0);
  const auto next = [members, cursor, end](const com::DispatchArgs&) {
    return *cursor < members.size() ? Variant(members[(*cursor)++]) : end;
  };
  collection->On("Count", Returns(static_cast<int>(members.size())))
      .On("Item",
          [members](const com::DispatchArgs& args) {
            const Variant key = args.Value(0);
            if (key.Type() == VT_BSTR) {
              for (const auto& member : members)
                if (com::DispatchNamesEqual(member->Stored("Name").ToUtf16(), key.ToUtf16())) return Variant(member);
              throw com::ComError(E_FAIL, "The attempted operation failed.  An object could not be found.");
            }
            const int index = key.ToInt();
            if (index < 1 || index > static_cast<int>(members.size()))
              throw com::ComError(E_INVALIDARG, "Array index out of bounds.");
            return Variant(members[index - 1]);
          })
      .On("GetFirst",
          [cursor, next](const com::DispatchArgs& args) {
            *cursor = 0;
            return next(args);
          })
      .On("GetNext", next);
  return collection;
}

ComPtr<FakeDispatch> Folder(const std::string& name, IDispatch* parent) {
  auto folder = Make<FakeDispatch>(true);
  folder->Value("Name", name).Value("EntryID", "F-" + name).Value("StoreID", "S1").Value("DefaultItemType", 2);
  // Not owned: the parent owns its children.
  folder->On("Parent", [parent](const com::DispatchArgs&) { return Variant(parent); });
  return folder;
}

ComPtr<FakeDispatch> StoredItem(int itemClass, const std::string& entryId, const std::string& body) {
  auto item = Make<FakeDispatch>();
  item->Value("Class", itemClass).Value("EntryID", entryId).Value("Body", body);
  return item;
}

// Outlook with one store "Mailbox" holding "Contacts", whose items are a mail, a contact and a report.
class OutlookAutomationTest : public ::testing::Test {
 protected:
  OutlookAutomationTest() {
    contact->Value("FullName", "Zo\xC3\xAB Adams").Value("Email1Address", "zoe@example.com").Value("Email2Address", "");
    contact
        ->On("Save",
             [this](const com::DispatchArgs&) {
               calls.push_back("Save");
               return Variant();
             })
        .On("Close",
            [this](const com::DispatchArgs& args) {
              calls.push_back("Close " + args.Value(0).ToUtf8());
              return Variant();
            })
        .On("Copy", [this](const com::DispatchArgs&) { return Variant(copy); });
    copy->Value("FullName", "Copy");
    mail->On("Move", [this](const com::DispatchArgs& args) {
      movedTo = args.Value(0).ToUnknown();
      return Variant(moved);
    });
    contacts->On("Items", Returns(Variant(Collection({mail, contact, report}))))
        .On("Folders", Returns(Variant(Collection({}))));
    mailbox->On("Folders", Returns(Variant(Collection({contacts}))));
    session->On("Folders", Returns(Variant(Collection({mailbox}))))
        .On("PickFolder", Returns(Variant(nullptr)))
        .On("GetItemFromID", [this](const com::DispatchArgs& args) {
          calls.push_back("GetItemFromID " + args.Value(0).ToUtf8() + " " + args.Value(1).ToUtf8());
          return args.Value(0).ToUtf8() == "C1" ? Variant(contact) : Variant(nullptr);
        });
    application->On("GetNamespace", [this](const com::DispatchArgs& args) {
      if (args.Value(0).ToUtf8() != "MAPI") throw com::ComError(E_INVALIDARG, "Could not complete the operation.");
      return Variant(session);
    });
    application->On("Session", Returns(Variant(session)))
        .On("ActiveExplorer", Returns(Variant(nullptr)))
        .Value("Version", "16.0.0.4266");
  }

  struct LeakCheck {
    ~LeakCheck() { EXPECT_EQ(com::ComObjectsAlive(), 0) << "COM objects leaked"; }
  };
  com::ComInit init_;
  LeakCheck leakCheck_;

  ComPtr<FakeDispatch> application = Make<FakeDispatch>();
  ComPtr<FakeDispatch> session = Make<FakeDispatch>();
  ComPtr<FakeDispatch> mailbox = Folder("Mailbox", session.Get());
  ComPtr<FakeDispatch> contacts = Folder("Contacts", mailbox.Get());
  ComPtr<FakeDispatch> mail = StoredItem(43, "M1", "Delivery to <bob@example.com> failed");
  ComPtr<FakeDispatch> contact = StoredItem(40, "C1", "");
  ComPtr<FakeDispatch> report = StoredItem(46, "R1", "");
  ComPtr<FakeDispatch> copy = StoredItem(40, "C2", "");
  ComPtr<FakeDispatch> moved = StoredItem(43, "M9", "");
  ComPtr<IUnknown> movedTo;
  std::vector<std::string> calls;

  std::shared_ptr<host::Application> outlook = WrapApplication(application);
};

TEST_F(OutlookAutomationTest, Calls_ReachOutlooksMembersByNameWithTextAsUtf8) {
  EXPECT_EQ(outlook->Version(), "16.0.0.4266");
  const auto folder = outlook->GetNamespace("MAPI")->Folders()->Item("mailbox")->Folders()->Item(1);
  EXPECT_EQ(folder->Name(), "Contacts");
  EXPECT_EQ(folder->EntryID(), "F-Contacts");
  EXPECT_EQ(folder->StoreID(), "S1");
  EXPECT_EQ(folder->DefaultItemType(), ItemType::Contact);
  EXPECT_EQ(folder->Folders()->Count(), 0);

  const auto person = AsContact(outlook->Session()->GetItemFromID("C1", "S1"));
  ASSERT_NE(person, nullptr);
  EXPECT_EQ(person->FullName(), "Zo\xC3\xAB Adams");
  person->SetEmail2Address("zo\xC3\xAB@exa\xCC\x88mple.com");
  EXPECT_EQ(contact->Stored("Email2Address").ToUtf16(), L"zo\u00EB@exa\u0308mple.com");
  person->Save();
  person->Close(CloseMode::Discard);
  EXPECT_EQ(AsContact(person->Copy())->FullName(), "Copy");
  EXPECT_EQ(calls, (std::vector<std::string>{"GetItemFromID C1 S1", "Save", "Close 1"}));

  EXPECT_EQ(outlook->GetNamespace("MAPI")->GetItemFromID("gone", "S1"), nullptr);
  EXPECT_EQ(outlook->ActiveExplorer(), nullptr);
  EXPECT_EQ(outlook->Session()->PickFolder(), nullptr);
}

TEST_F(OutlookAutomationTest, Failures_ArriveAsHostErrorsNamingTheMemberWithOutlooksTextAndHresult) {
  contacts->On("Parent", Fails("The operation failed."));
  const auto stores = outlook->Session()->Folders();
  EXPECT_EQ(HostMessage([&] { stores->Item("Nowhere"); }),
            "Folders.Item: The attempted operation failed.  An object could not be found. (0x80004005)");
  EXPECT_EQ(HostMessage([&] { stores->Item(2); }), "Folders.Item: Array index out of bounds. (0x80070057)");
  EXPECT_EQ(HostMessage([&] { outlook->GetNamespace("OLE"); }),
            "Application.GetNamespace: Could not complete the operation. (0x80070057)");
  const auto folder = stores->Item("MAILBOX")->Folders()->Item(1);
  EXPECT_EQ(HostMessage([&] { folder->Parent(); }), "MAPIFolder.Parent: The operation failed. (0x80004005)");
  // A value of the wrong kind is Outlook's failure too, not the toolkit's.
  contacts->Stored("DefaultItemType") = Variant("Contacts");
  EXPECT_EQ(HostMessage([&] { folder->DefaultItemType(); }),
            "MAPIFolder.DefaultItemType: " + com::HresultMessage(DISP_E_TYPEMISMATCH) + " (0x80020005)");

  // Members Outlook always answers with an object may not answer Nothing.
  session->On("Folders", Returns(Variant(nullptr)));
  EXPECT_EQ(HostMessage([&] { outlook->Session()->Folders(); }), "NameSpace.Folders: Outlook returned no object.");
}

TEST_F(OutlookAutomationTest, Parent_IsNullWhenTheParentIsNoFolder) {
  const auto store = outlook->Session()->Folders()->Item("mailbox");
  const auto child = store->Folders()->Item(1);
  ASSERT_NE(child->Parent(), nullptr);
  EXPECT_EQ(child->Parent()->Name(), "Mailbox");
  EXPECT_EQ(store->Parent(), nullptr);  // the namespace answers no MAPIFolder
  mailbox->On("Parent", Returns(Variant(nullptr)));
  EXPECT_EQ(outlook->Session()->Folders()->Item(1)->Parent(), nullptr);
}

TEST_F(OutlookAutomationTest, Items_AreTypedByTheirClassAndWalkedUntilNothing) {
  const auto items = outlook->Session()->Folders()->Item(1)->Folders()->Item(1)->Items();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(AsContact(items->Item(1)), nullptr);
  EXPECT_NE(AsContact(items->Item(2)), nullptr);
  EXPECT_EQ(AsContact(items->Item(3)), nullptr);
  EXPECT_EQ(items->Item(3)->Class(), ItemClass::Report);

  std::vector<std::string> walked;
  for (auto item = items->GetFirst(); item; item = items->GetNext()) walked.push_back(item->EntryID());
  EXPECT_EQ(walked, (std::vector<std::string>{"M1", "C1", "R1"}));
  EXPECT_EQ(items->GetNext(), nullptr);

  // Some servers end a walk with Empty rather than Nothing.
  const auto empty = Collection({}, Variant());
  std::string filter;
  contacts->On("Items", [&](const com::DispatchArgs&) {
    auto all = Collection({contact});
    all->On("Restrict", [&](const com::DispatchArgs& args) {
      filter = args.Value(0).ToUtf8();
      return Variant(empty);
    });
    return Variant(all);
  });
  const std::string sent = "[Email1Address] = 'zo\xC3\xAB@example.com' or [Email2Address] = 'x'";
  const auto found = outlook->Session()->Folders()->Item(1)->Folders()->Item(1)->Items()->Restrict(sent);
  EXPECT_EQ(filter, sent);
  EXPECT_EQ(found->GetFirst(), nullptr);
}

TEST_F(OutlookAutomationTest, Members_AreLookedUpOncePerObject) {
  const auto item = outlook->Session()->GetItemFromID("C1", "S1");
  const auto person = AsContact(item);
  for (int i = 0; i < 3; ++i) {
    item->Body();
    person->Email1Address();
    person->SetEmail1Address("x@example.com");
    item->Class();
  }
  EXPECT_EQ(contact->Lookups(), (std::vector<std::string>{"Class", "Body", "Email1Address"}));
  // Another wrapper of the same object has a cache of its own.
  outlook->Session()->GetItemFromID("C1", "S1");
  EXPECT_EQ(contact->Lookups().size(), 4u);
  EXPECT_EQ(session->Lookups(), (std::vector<std::string>{"GetItemFromID", "GetItemFromID"}));
  EXPECT_EQ(application->Lookups(), (std::vector<std::string>{"Session"}));
}

TEST_F(OutlookAutomationTest, Move_HandsOutlookTheDestinationsOwnObject) {
  const auto destination = outlook->Session()->Folders()->Item(1)->Folders()->Item(1);
  const auto message = outlook->Session()->Folders()->Item(1)->Folders()->Item(1)->Items()->Item(1);
  EXPECT_EQ(message->Move(*destination)->EntryID(), "M9");
  EXPECT_EQ(movedTo.Get(), contacts.As<IUnknown>().Get());

  const auto other = memory::MemoryOutlook::Create()->AddStore("Other");
  EXPECT_EQ(HostMessage([&] { message->Move(*other); }), "The folder is not one of this Outlook's folders.");
  movedTo.Reset();
  EXPECT_REF(moved.Get(), 1);
}

}  // namespace
}  // namespace qor::host::automation
