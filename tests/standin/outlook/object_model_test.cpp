// The data side of the stand-in, driven late-bound as the add-in drives Outlook.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "com/safe_array.h"
#include "host/memory/host_messages.h"
#include "outlook_fixture.h"
#include "standin/outlook/outlook_standin.h"

namespace qor::standin::testing {
namespace {

namespace messages = host::memory::messages;
using ::testing::ElementsAre;

bool Answers(const com::Dispatch& object, const IID& iid) {
  com::ComPtr<IUnknown> found;
  const HRESULT hr = object.Object()->QueryInterface(iid, found.PutVoid());
  return hr == S_OK && found;
}

TEST_F(OutlookStandinTest, FolderWalk_ItemIgnoresCaseAndFailsWithOutlooksMessage) {
  Start();
  com::Dispatch stores(Session().Get("Folders").ToDispatch());
  EXPECT_EQ(stores.Get("Count").ToInt(), 2);
  EXPECT_EQ(com::Dispatch(stores.Get("Item", 2).ToDispatch()).Get("Name").ToUtf8(), "Archive");

  com::Dispatch top(stores.Get("Item", "MAILBOX").ToDispatch());
  com::Dispatch children(top.Get("Folders").ToDispatch());
  com::Dispatch found(children.Get("Item", "bounces").ToDispatch());
  EXPECT_EQ(found.Get("Name").ToUtf8(), "Bounces");
  EXPECT_EQ(found.Get("EntryID").ToUtf8(), bounces->EntryID());
  EXPECT_EQ(found.Get("StoreID").ToUtf8(), mailbox->StoreId());
  EXPECT_EQ(found.Get("DefaultItemType").ToInt(), 0);
  EXPECT_EQ(Folder("mailbox", "contacts").Get("DefaultItemType").ToInt(), 2);

  EXPECT_EQ(ErrorOf([&] { children.Get("Item", "Bounce"); }), messages::kObjectNotFound);
  EXPECT_EQ(ErrorOf([&] { children.Get("Item", 9); }), messages::kIndexOutOfBounds);
  EXPECT_EQ(ErrorOf([&] { App().Call("GetNamespace", "MAPI2"); }), messages::kInvalidParameter);

  // Raw: the failure travels as DISP_E_EXCEPTION with Outlook's message in EXCEPINFO.
  DISPID item = children.IdOf("item");
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(L"nowhere");
  DISPPARAMS params{&name, nullptr, 1, 0};
  VARIANT result = com::testing::JunkVariant();
  EXCEPINFO info{};
  UINT argError = 0;
  EXPECT_EQ(children.Object()->Invoke(item, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result, &info, &argError),
            DISP_E_EXCEPTION);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(com::Bstr(std::wstring_view(info.bstrDescription)).ToUtf8(), messages::kObjectNotFound);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrSource);
  VariantClear(&name);
}

TEST_F(OutlookStandinTest, Parent_OfTopLevelFolderIsTheSessionWhichIsNoMapiFolder) {
  Start();
  com::Dispatch folder = Folder("Mailbox", "Bounces");
  EXPECT_TRUE(Answers(folder, ids::kMapiFolder));

  com::Dispatch top(folder.Get("Parent").ToDispatch());
  EXPECT_EQ(top.Get("Name").ToUtf8(), "Mailbox");
  EXPECT_TRUE(Answers(top, ids::kMapiFolder));

  com::Dispatch above(top.Get("Parent").ToDispatch());
  ASSERT_TRUE(above);
  EXPECT_FALSE(Answers(above, ids::kMapiFolder));
  EXPECT_TRUE(Answers(above, ids::kNameSpace));
  EXPECT_EQ(above.Get("Type").ToUtf8(), "MAPI");

  // GetNamespace and Session are the one session object.
  EXPECT_EQ(Identity(App().Get("Session").ToDispatch()), Identity(Session().Object()));
}

TEST_F(OutlookStandinTest, Items_RestrictWalksAndIndexesOverCom) {
  Start();
  com::Dispatch items(Folder("Mailbox", "Contacts").Get("Items").ToDispatch());
  EXPECT_EQ(items.Get("Count").ToInt(), 2);

  const char* filter =
      "[Email1Address] = 'bob@example.com' or [Email2Address] = 'bob@example.com' or "
      "[Email3Address] = 'bob@example.com'";
  com::Dispatch matched(items.Call("Restrict", filter).ToDispatch());
  EXPECT_EQ(matched.Get("Count").ToInt(), 1);
  com::Dispatch first(matched.Call("GetFirst").ToDispatch());
  EXPECT_EQ(first.Get("FullName").ToUtf8(), "Bob Jones");
  EXPECT_EQ(first.Get("Class").ToInt(), 40);
  const com::Variant past = matched.Call("GetNext");
  EXPECT_EQ(past.Type(), VT_DISPATCH);
  EXPECT_FALSE(past.ToDispatch());

  EXPECT_THAT(ErrorOf([&] { items.Call("Restrict", "[Email1Address] = "); }), ::testing::HasSubstr("Cannot parse"));
  EXPECT_EQ(ErrorOf([&] { items.Get("Item", 3); }), messages::kIndexOutOfBounds);

  com::Dispatch mails(Folder("Mailbox", "Bounces").Get("Items").ToDispatch());
  com::Dispatch report(mails.Get("Item", 1).ToDispatch());
  EXPECT_EQ(report.Get("Class").ToInt(), 46);
  EXPECT_EQ(report.Get("Subject").ToUtf8(), "Undeliverable");
  EXPECT_EQ(report.Get("Body").ToUtf8(), "Delivery to ann@example.com failed");
  EXPECT_EQ(report.Get("EntryID").ToUtf8(), bounce1->EntryID());
}

// A GetArray batch as rows of texts; an Empty cell reads "-".
std::vector<std::vector<std::string>> RowsOf(const com::Variant& batch) {
  com::VariantTable cells(batch);
  std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(cells.Rows()));
  for (long row = 0; row < cells.Rows(); ++row) {
    for (long column = 0; column < cells.Columns(); ++column) {
      // The system's own indexing settles the layout VariantTable reads.
      LONG indices[2] = {row, column};
      com::Variant cell;
      EXPECT_HRESULT_SUCCEEDED(SafeArrayGetElement(batch.Get().parray, indices, cell.Put()));
      EXPECT_EQ(cell.Type(), cells.At(row, column).vt);
      rows[row].push_back(cell.IsEmpty() ? "-" : cell.ToUtf8());
    }
  }
  return rows;
}

TEST_F(OutlookStandinTest, GetTable_HandsOutChosenColumnsInBatchesAndByRow) {
  contacts->AddMail("a note among the contacts", "Note", host::ItemClass::Note);
  Start();
  com::Dispatch table(Folder("Mailbox", "Contacts").Call("GetTable").ToDispatch());
  com::Dispatch columns(table.Get("Columns").ToDispatch());
  EXPECT_EQ(table.Get("Class").ToInt(), 120);  // olTable
  EXPECT_EQ(columns.Get("Count").ToInt(), 3);
  EXPECT_EQ(com::Dispatch(columns.Get("Item", 2).ToDispatch()).Get("Name").ToUtf8(), "Subject");
  columns.Call("RemoveAll");
  EXPECT_EQ(com::Dispatch(columns.Call("Add", "entryid").ToDispatch()).Get("Name").ToUtf8(), "EntryID");
  columns.Call("Add", "Email2Address");
  columns.Call("Add", "MessageClass");
  EXPECT_EQ(ErrorOf([&] { columns.Call("Add", "Body"); }), "The property \"Body\" is unknown.");
  EXPECT_EQ(table.Call("GetRowCount").ToInt(), 3);

  // Rows by columns, from the current row on; past the end an empty batch.
  EXPECT_EQ(RowsOf(table.Call("GetArray", 2)),
            (std::vector<std::vector<std::string>>{{ann->EntryID(), "", "IPM.Contact"},
                                                   {bob->EntryID(), "BOB@example.com", "IPM.Contact"}}));
  EXPECT_FALSE(table.Get("EndOfTable").ToBool());
  const auto rest = RowsOf(table.Call("GetArray", 100));
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_EQ(rest[0][1], "-");  // a note has no e-mail fields
  EXPECT_EQ(rest[0][2], "IPM.StickyNote");
  EXPECT_TRUE(RowsOf(table.Call("GetArray", 1)).empty());
  EXPECT_TRUE(table.Get("EndOfTable").ToBool());
  EXPECT_THAT(ErrorOf([&] { table.Call("GetArray", 0); }), ::testing::HasSubstr("parameter values are not valid"));

  table.Call("MoveToStart");
  com::Dispatch row(table.Call("GetNextRow").ToDispatch());
  EXPECT_EQ(row.Get("Item", "ENTRYID").ToUtf8(), ann->EntryID());
  EXPECT_EQ(row.Get("Item", 3).ToUtf8(), "IPM.Contact");
  com::VariantTable values(row.Call("GetValues"));
  EXPECT_EQ(values.Columns(), 3);
  columns.Call("Remove", "Email2Address");
  EXPECT_EQ(columns.Get("Count").ToInt(), 2);

  // A filter in Restrict's syntax, and hidden items, of which there are none.
  com::Dispatch folder = Folder("Mailbox", "Contacts");
  EXPECT_EQ(com::Dispatch(folder.Call("GetTable", "[Email2Address] = 'bob@example.com'").ToDispatch())
                .Call("GetRowCount")
                .ToInt(),
            1);
  EXPECT_EQ(com::Dispatch(folder.Call("GetTable", "", 1).ToDispatch()).Call("GetRowCount").ToInt(), 0);
}

TEST_F(OutlookStandinTest, GetTable_CameWithOutlook2007WhichRefusesBatchesLongerThanTheTable) {
  Start(11);
  try {
    Folder("Mailbox", "Contacts").Call("GetTable");
    ADD_FAILURE() << "Outlook 2003 has no GetTable";
  } catch (const com::ComError& error) {
    EXPECT_EQ(error.Code(), DISP_E_MEMBERNOTFOUND);
  }
  driver.reset();
  Start(12);
  com::Dispatch table(Folder("Mailbox", "Contacts").Call("GetTable").ToDispatch());
  EXPECT_THAT(ErrorOf([&] { table.Call("GetArray", 3); }), ::testing::HasSubstr("parameter values are not valid"));
  EXPECT_EQ(RowsOf(table.Call("GetArray", 2)).size(), 2u);
}

TEST_F(OutlookStandinTest, MoveAndCopy_GiveNewEntryIdsAndLeaveStaleObjectsFailing) {
  Start();
  com::Dispatch mail(com::Dispatch(Folder("Mailbox", "Bounces").Get("Items").ToDispatch()).Get("Item", 2).ToDispatch());
  const std::string before = mail.Get("EntryID").ToUtf8();
  com::Dispatch moved(mail.Call("Move", Folder("Mailbox", "Processed").Object()).ToDispatch());
  EXPECT_NE(moved.Get("EntryID").ToUtf8(), before);
  EXPECT_EQ(processed->ItemCount(), 1u);
  EXPECT_EQ(bounces->ItemCount(), 1u);
  EXPECT_EQ(ErrorOf([&] { mail.Get("EntryID"); }), messages::kItemMovedOrDeleted);
  EXPECT_EQ(ErrorOf([&] { moved.Call("Move", Session().Object()); }), messages::kCannotMoveItems);

  com::Dispatch contact(
      com::Dispatch(Folder("Mailbox", "Contacts").Get("Items").ToDispatch()).Get("Item", 1).ToDispatch());
  com::Dispatch copy(contact.Call("Copy").ToDispatch());
  EXPECT_EQ(copy.Get("FullName").ToUtf8(), "Ann Smith");
  EXPECT_NE(copy.Get("EntryID").ToUtf8(), contact.Get("EntryID").ToUtf8());
  EXPECT_EQ(contacts->ItemCount(), 3u);

  // Edits wait for Save; Close(olDiscard) drops them.
  contact.Put("Email1Address", "");
  contact.Put("Body", "bounced");
  EXPECT_EQ(contact.Get("Email1Address").ToUtf8(), "");
  contact.Call("Close", 1);
  EXPECT_EQ(contact.Get("Email1Address").ToUtf8(), "ann@example.com");
  contact.Put("Email3Address", "ann@work.example.com");
  contact.Call("Save");
  EXPECT_EQ(ann->StoredFields().email3Address, "ann@work.example.com");

  com::Dispatch movedCopy(copy.Call("Move", Folder("Mailbox", "Processed").Object()).ToDispatch());
  EXPECT_EQ(movedCopy.Get("Class").ToInt(), 40);
  EXPECT_EQ(ErrorOf([&] { copy.Call("Save"); }), messages::kItemMovedOrDeleted);
}

// An IDispatch laid out as a C client builds one: a bare table of functions with no C++ type
// information before it, so nothing may downcast it.
struct ForeignDispatch {
  const void* const* vtable;
  ULONG refs = 1;

  static HRESULT STDMETHODCALLTYPE QueryInterface(ForeignDispatch* self, REFIID iid, void** out) {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
    ++self->refs;
    *out = self;
    return S_OK;
  }
  static ULONG STDMETHODCALLTYPE AddRef(ForeignDispatch* self) { return ++self->refs; }
  static ULONG STDMETHODCALLTYPE Release(ForeignDispatch* self) { return --self->refs; }
  static HRESULT STDMETHODCALLTYPE NotImplemented() { return E_NOTIMPL; }

  // Slots -2 and -1 are where a C++ object keeps its offset and type information; here they are empty.
  static inline const void* const kTable[] = {nullptr,
                                              nullptr,
                                              reinterpret_cast<const void*>(&QueryInterface),
                                              reinterpret_cast<const void*>(&AddRef),
                                              reinterpret_cast<const void*>(&Release),
                                              reinterpret_cast<const void*>(&NotImplemented),
                                              reinterpret_cast<const void*>(&NotImplemented),
                                              reinterpret_cast<const void*>(&NotImplemented),
                                              reinterpret_cast<const void*>(&NotImplemented)};
  ForeignDispatch() : vtable(kTable + 2) {}
  IDispatch* AsDispatch() { return reinterpret_cast<IDispatch*>(this); }
};

TEST_F(OutlookStandinTest, ForeignObjectsHandedBackGetCleanErrors) {
  Start();
  ForeignDispatch foreign;
  com::ComPtr<IDispatch> object;
  object.CopyFrom(foreign.AsDispatch());
  com::Dispatch mail(com::Dispatch(Folder("Mailbox", "Bounces").Get("Items").ToDispatch()).Get("Item", 1).ToDispatch());
  EXPECT_EQ(ErrorOf([&] { mail.Call("Move", object); }), messages::kCannotMoveItems);
  EXPECT_EQ(bounces->ItemCount(), 2u);

  com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
  EXPECT_EQ(ErrorOf([&] { explorer.Put("CurrentFolder", com::Variant(object)); }),
            com::ComError(DISP_E_TYPEMISMATCH).what());
  EXPECT_EQ(outlook->ActiveExplorerFolder(), inbox);
  object.Reset();
  EXPECT_EQ(foreign.refs, 1u);
}

// Folders are found again by their ids, so that a folder whose path names another folder too (two
// stores of one name) or none (a name holding "\\") is the one used.
TEST_F(OutlookStandinTest, NameSpace_GetFolderFromIdFindsTheFolderOfTheNamedStore) {
  const auto twin = outlook->AddStore("Mailbox");
  const auto odd = twin->AddFolder("In\\Out", host::ItemType::Mail);
  Start();
  com::Dispatch session = Session();
  com::Dispatch found(session.Call("GetFolderFromID", odd->EntryID(), twin->StoreId()).ToDispatch());
  EXPECT_EQ(found.Get("Name").ToUtf8(), "In\\Out");
  EXPECT_EQ(found.Get("StoreID").ToUtf8(), twin->StoreId());
  EXPECT_EQ(com::Dispatch(session.Call("GetFolderFromID", bounces->EntryID()).ToDispatch()).Get("Name").ToUtf8(),
            "Bounces");
  EXPECT_EQ(ErrorOf([&] { session.Call("GetFolderFromID", odd->EntryID(), mailbox->StoreId()); }),
            messages::kObjectNotFound);

  // Names compare ignoring case in every script, as Outlook's do.
  twin->AddFolder("\u041f\u043e\u0447\u0442\u0430", host::ItemType::Mail);
  com::Dispatch twinFolders(com::Dispatch(found.Get("Parent").ToDispatch()).Get("Folders").ToDispatch());
  EXPECT_EQ(com::Dispatch(twinFolders.Get("Item", "\u043f\u041e\u0427\u0422\u0410").ToDispatch()).Get("Name").ToUtf8(),
            "\u041f\u043e\u0447\u0442\u0430");
}

TEST_F(OutlookStandinTest, NameSpace_GetItemFromIdAndScriptedPickFolder) {
  Start();
  com::Dispatch session = Session();
  com::Dispatch found(session.Call("GetItemFromID", bounce2->EntryID()).ToDispatch());
  EXPECT_EQ(found.Get("Subject").ToUtf8(), "Returned mail");
  com::Dispatch inStore(session.Call("GetItemFromID", ann->EntryID(), mailbox->StoreId()).ToDispatch());
  EXPECT_EQ(inStore.Get("FullName").ToUtf8(), "Ann Smith");
  EXPECT_EQ(ErrorOf([&] { session.Call("GetItemFromID", ann->EntryID(), archive->StoreId()); }),
            messages::kCannotOpenItem);
  EXPECT_EQ(ErrorOf([&] { session.Call("GetItemFromID", "00FF"); }), messages::kCannotOpenItem);

  outlook->QueuePickFolder(contacts);
  com::Dispatch picked(session.Call("PickFolder").ToDispatch());
  EXPECT_EQ(picked.Get("Name").ToUtf8(), "Contacts");
  EXPECT_EQ(com::Dispatch(picked.Get("Parent").ToDispatch()).Get("Name").ToUtf8(), "Mailbox");
  const com::Variant cancelled = session.Call("PickFolder");
  EXPECT_EQ(cancelled.Type(), VT_DISPATCH);
  EXPECT_FALSE(cancelled.ToDispatch());
}

TEST_F(OutlookStandinTest, QueryInterface_AnswersOutlooksInterfacesThroughIDispatch) {
  Start();
  com::Dispatch app = App();
  const auto dispatchOf = [](const com::Dispatch& object, const IID& iid) {
    com::ComPtr<IDispatch> found;
    EXPECT_EQ(object.Object()->QueryInterface(iid, found.PutVoid()), S_OK);
    return found.Get();
  };
  EXPECT_EQ(dispatchOf(app, ids::kApplication), app.Object().Get());
  EXPECT_FALSE(Answers(app, ids::kExplorer));
  EXPECT_EQ(dispatchOf(Session(), ids::kNameSpace), Session().Object().Get());

  com::Dispatch explorers(app.Get("Explorers").ToDispatch());
  com::Dispatch inspectors(app.Get("Inspectors").ToDispatch());
  EXPECT_TRUE(Answers(explorers, ids::kExplorers));
  EXPECT_FALSE(Answers(explorers, ids::kInspectors));
  EXPECT_TRUE(Answers(inspectors, ids::kInspectors));

  com::Dispatch explorer(app.Call("ActiveExplorer").ToDispatch());
  EXPECT_TRUE(Answers(explorer, ids::kExplorer));
  const auto second = driver->OpenExplorer(processed);
  const auto windowOf = [](IDispatch* object) {
    com::ComPtr<IOleWindow> window;
    EXPECT_EQ(object->QueryInterface(__uuidof(IOleWindow), window.PutVoid()), S_OK);
    HWND handle = com::testing::Junk<HWND__>();
    EXPECT_EQ(window->GetWindow(&handle), S_OK);
    return handle;
  };
  const HWND first = windowOf(explorer.Object().Get());
  EXPECT_TRUE(IsWindow(first));
  EXPECT_NE(first, windowOf(second.Get()));

  const auto inspector = driver->OpenInspector(bounce1);
  EXPECT_TRUE(Answers(com::Dispatch(inspector), ids::kInspector));
  EXPECT_FALSE(Answers(com::Dispatch(inspector), __uuidof(IOleWindow)));
  EXPECT_TRUE(Answers(com::Dispatch(driver->ShowOptions()), ids::kPropertyPages));

  // Outlook's application events: ApplicationEvents and ApplicationEvents_11, never its coclass id.
  com::ComPtr<IConnectionPointContainer> container = app.Object().As<IConnectionPointContainer>();
  com::ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(ids::kApplicationEvents, point.Put()), S_OK);
  EXPECT_EQ(container->FindConnectionPoint(ids::kApplicationEvents11, point.Put()), S_OK);
  EXPECT_EQ(container->FindConnectionPoint(ids::kOutlookApplicationClass, point.Put()), CONNECT_E_NOCONNECTION);
  EXPECT_FALSE(point);
}

TEST_F(OutlookStandinTest, Version_IsTheInMemoryOutlooksOrTheChosenMajorVersions) {
  {
    auto application = CreateOutlookApplication(outlook);
    EXPECT_EQ(com::Dispatch(application).Get("Version").ToUtf8(), "16.0.0.4266");
    com::Dispatch explorer(com::Dispatch(application).Call("ActiveExplorer").ToDispatch());
    EXPECT_EQ(com::Dispatch(explorer.Get("CurrentFolder").ToDispatch()).Get("Name").ToUtf8(), "Inbox");
  }
  for (const int major : {9, 10, 11, 12, 13, 14, 15, 16}) {
    Start(major);
    EXPECT_EQ(App().Get("Version").ToUtf8().substr(0, std::to_string(major).size() + 1), std::to_string(major) + ".");
    EXPECT_EQ(driver->MajorVersion(), major);
  }
  EXPECT_THROW(Start(8), std::invalid_argument);
  EXPECT_THROW(Start(17), std::invalid_argument);
}

}  // namespace
}  // namespace qor::standin::testing
