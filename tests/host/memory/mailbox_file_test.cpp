#include "host/memory/mailbox_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "host/memory/outlook_id_matcher.h"
#include "platform/atomic_file.h"
#include "support/counted_heap.h"
#include "support/temp_folder.h"

namespace qor::host::memory {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::ThrowsMessage;
using namespace std::string_literals;

constexpr const char* kExample = R"({ "activeExplorerFolder": "Mailbox\\Bounces",
  "outlookVersion": "16.0.0.4266",
  "stores": [ { "name": "Mailbox", "storeId": "S1", "defaultItemType": 0, "items": [],
               "folders": [ { "name": "Bounces", "defaultItemType": 0, "folders": [],
                              "items": [ { "entryId": "M1", "class": 43, "subject": "Undeliverable", "body": "to x@y.com" } ] },
                            { "name": "Contacts", "defaultItemType": 2, "folders": [],
                              "items": [ { "entryId": "C1", "class": 40, "fullName": "Ann Lee", "companyName": "ACME",
                                           "businessTelephoneNumber": "+1 555", "email1Address": "ann@x.com",
                                           "email2Address": "ann2@x.com", "email3Address": "ann3@x.com", "body": "note" } ] } ] } ] })";

// NUL, non-ASCII (é, an emoji), quotes, backslash and control characters.
const std::string kTrickyBody = "nul\0inside \xC3\xA9 \xF0\x9F\x93\xA7 \"quoted\" \\ \r\n\t\x01"s;

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(MailboxFile, Load_TheDocumentedShapeFromAFileOnDisk) {
  tests::TempFolder folder;
  const auto path = folder.Path() / "mailbox.json";
  WriteFile(path, kExample);
  auto outlook = LoadMailbox(path);

  EXPECT_EQ(outlook->Version(), "16.0.0.4266");
  ASSERT_EQ(outlook->Stores().size(), 1u);
  auto root = outlook->Stores().front();
  EXPECT_EQ(root->Name(), "Mailbox");
  EXPECT_EQ(root->StoreID(), "S1");
  EXPECT_EQ(root->ItemCount(), 0u);
  auto bounces = std::dynamic_pointer_cast<MemoryFolder>(root->Folders()->Item("Bounces"));
  ASSERT_NE(bounces, nullptr);
  EXPECT_EQ(outlook->ActiveExplorer()->CurrentFolder(), bounces);
  auto mail = bounces->ItemAt(1);
  EXPECT_EQ(mail->EntryID(), "M1");
  EXPECT_EQ(mail->Class(), ItemClass::Mail);
  EXPECT_EQ(mail->Subject(), "Undeliverable");
  EXPECT_EQ(mail->Body(), "to x@y.com");

  auto contacts = root->Folders()->Item(2);
  EXPECT_EQ(contacts->DefaultItemType(), ItemType::Contact);
  auto contact = std::dynamic_pointer_cast<MemoryContact>(outlook->Session()->GetItemFromID("C1", "S1"));
  ASSERT_NE(contact, nullptr);
  EXPECT_EQ(contact->StoredFields(),
            (ContactFields{"Ann Lee", "ACME", "+1 555", "ann@x.com", "ann2@x.com", "ann3@x.com", "note"}));
}

TEST(MailboxFile, Load_TheExampleInTheFormatDocument) {
  const std::string doc = platform::ReadFileBytes(std::filesystem::path(QOR_SOURCE_DIR) / "docs" / "mailbox-format.md");
  const auto start = doc.find("```json\n");
  ASSERT_NE(start, std::string::npos);
  const auto end = doc.find("```", start + 8);
  auto outlook = ParseMailbox(doc.substr(start + 8, end - start - 8), "mailbox-format.md");
  EXPECT_EQ(outlook->ActiveExplorer()->CurrentFolder()->Name(), "Bounces");
  EXPECT_EQ(outlook->Session()->GetItemFromID("M1", "S1")->Class(), ItemClass::Report);
}

TEST(MailboxFile, Load_MissingKeysTakeDefaults) {
  auto outlook = ParseMailbox(R"({"stores": [{"name": "M", "folders": [{"name": "F", "items": [{}, {"class": 40}]}],
                                             "unknown": [1, 2]}], "comment": "ignored"})",
                              "minimal.json");
  EXPECT_EQ(outlook->Version(), "16.0.0.4266");
  EXPECT_EQ(outlook->ActiveExplorer(), nullptr);
  auto root = outlook->Stores().at(0);
  EXPECT_THAT(root->StoreID(), tests::IsOutlookStyleId());
  EXPECT_EQ(root->DefaultItemType(), ItemType::Mail);
  auto folder = root->Subfolders().at(0);
  EXPECT_EQ(folder->DefaultItemType(), ItemType::Mail);
  ASSERT_EQ(folder->ItemCount(), 2u);
  auto mail = folder->ItemAt(1);
  EXPECT_EQ(mail->Class(), ItemClass::Mail);
  EXPECT_THAT(mail->EntryID(), tests::IsOutlookStyleId());
  EXPECT_EQ(mail->Body(), "");
  EXPECT_EQ(mail->Subject(), "");
  auto contact = AsContact(folder->ItemAt(2));
  ASSERT_NE(contact, nullptr);
  EXPECT_EQ(contact->Email1Address(), "");
  EXPECT_NE(contact->EntryID(), mail->EntryID());

  EXPECT_EQ(ParseMailbox(R"({"stores": [], "activeExplorerFolder": null})", "x")->Stores().size(), 0u);
  auto explored = ParseMailbox(R"({"stores": [{"name": "Box", "folders": [{"name": "In"}]}],
                                   "activeExplorerFolder": "bOX\\in"})",
                               "x");
  EXPECT_EQ(explored->ActiveExplorer()->CurrentFolder()->Name(), "In");
}

TEST(MailboxFile, Load_ErrorsNameTheSourceAndThePlace) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{\n  \"stores\": [\n    {,\n", "f.json: invalid JSON at line 3, column 6: "},
      {"[]", "f.json: the top level: expected an object"},
      {"{}", "f.json: stores: missing; expected an array of stores"},
      {R"({"stores": {}})", "f.json: stores: expected an array"},
      {R"({"stores": [7]})", "f.json: stores[0]: expected an object"},
      {R"({"stores": [{"name": 5}]})", "f.json: stores[0].name: expected a string"},
      {R"({"stores": [{"name": "M", "defaultItemType": 9}]})",
       "f.json: stores[0].defaultItemType: expected one of 0, 1, 2, 3, 4, 5"},
      {R"({"stores": [{"name": "M", "folders": [{"name": "A"}, {"name": "B", "items": [{}, {}, {}, {"class": 41}]}]}]})",
       "f.json: stores[0].folders[1].items[3].class: expected one of 40, 43, 44, 46"},
      {R"({"stores": [{"name": "M", "items": [{"class": "43"}]}]})",
       "f.json: stores[0].items[0].class: expected one of 40, 43, 44, 46"},
      {R"({"stores": [{"name": "M", "items": [{"body": ["x"]}]}]})",
       "f.json: stores[0].items[0].body: expected a string"},
      {R"({"stores": [{"name": "M", "items": [{"class": 40, "email2Address": 1}]}]})",
       "f.json: stores[0].items[0].email2Address: expected a string"},
      {R"({"stores": [{"name": "M", "folders": {}}]})", "f.json: stores[0].folders: expected an array"},
      {R"({"stores": [{"name": "M", "items": [{"entryId": "M1"}], "folders": [{"name": "F", "items": [{"entryId": "M1"}]}]}]})",
       "f.json: stores[0].folders[0].items[0].entryId: duplicate entry id \"M1\" in store"},
      {R"({"stores": [{"name": "M", "storeId": "S"}, {"name": "N", "storeId": "S"}]})",
       "f.json: stores[1].storeId: duplicate store id \"S\""},
      {R"({"stores": [{"name": "M", "folders": [{"name": "F"}, {"name": "f"}]}]})",
       "f.json: stores[0].folders[1].name: a folder named \"f\" already exists"},
      {R"({"stores": [{"name": "M", "folders": [{"name": "F"}]}], "activeExplorerFolder": "M\\G"})",
       "f.json: activeExplorerFolder: no folder \"M\\G\""},
      {R"({"stores": [], "activeExplorerFolder": 3})", "f.json: activeExplorerFolder: expected a string or null"},
      {R"({"stores": [], "outlookVersion": 16})", "f.json: outlookVersion: expected a string"},
      {"{\"stores\": [{\"name\": \"\xff\"}]}", "f.json: invalid JSON at line 1, column 23: "},
      {"{\"stores\": [\n  {\"name\": \"M\", \"defaultItemType\": 1e400}]}",
       "f.json: invalid JSON at line 2, column 40: number overflow parsing '1e400'"},
  };
  for (const auto& [json, message] : cases) {
    EXPECT_THAT([&] { ParseMailbox(json, "f.json"); }, ThrowsMessage<MailboxError>(HasSubstr(message))) << json;
  }

  // A body with a raw line break: the message quotes the end of what was read, not the whole body.
  try {
    ParseMailbox(R"({"stores": [{"name": "M", "items": [{"body": ")" + std::string(1000, 'x') + "\n\"}]}]}", "f.json");
    ADD_FAILURE() << "a raw line break in a string was taken";
  } catch (const MailboxError& error) {
    EXPECT_THAT(error.what(), HasSubstr("last read: '..." + std::string(50, 'x')));
    EXPECT_LT(std::string_view(error.what()).size(), 250u) << error.what();
  }

  std::string deep = R"({"stores": [{"name": "M")";
  for (int i = 0; i < 300; ++i) deep += R"(, "folders": [{"name": "F")";
  for (int i = 0; i < 300; ++i) deep += "}]";
  deep += "}]}";
  EXPECT_THAT([&] { ParseMailbox(deep, "deep.json"); },
              ThrowsMessage<MailboxError>(HasSubstr("folders nested more than 100 deep")));

  // A file is parsed as it is read; what is wrong with it reads as for a text.
  tests::TempFolder folder;
  for (const auto& [json, message] : {cases[0], cases[1], cases.back()}) {
    WriteFile(folder.Path() / "f.json", json);
    EXPECT_THAT([&] { LoadMailbox(folder.Path() / "f.json"); }, ThrowsMessage<MailboxError>(HasSubstr(message)));
  }
  EXPECT_THAT([&] { LoadMailbox(folder.Path() / "absent.json"); },
              ThrowsMessage<MailboxError>(HasSubstr("absent.json")));
  EXPECT_THAT([&] { LoadMailbox(folder.Path()); }, ThrowsMessage<MailboxError>(HasSubstr("it is a folder")));
}

// Loading holds each body about once: not the file's bytes, the parsed document's copy and the
// item's at the same time.
TEST(MailboxFile, Load_HoldsEachBodyOnceAtItsPeak) {
  constexpr std::size_t kMessages = 400;
  constexpr std::size_t kBodySize = 10000;
  tests::TempFolder folder;
  const auto path = folder.Path() / "big.json";
  {
    auto outlook = MemoryOutlook::Create();
    const auto bounces = outlook->AddStore("Mailbox")->AddFolder("Bounces", ItemType::Mail);
    for (std::size_t i = 0; i < kMessages; ++i)
      bounces->AddMail(std::string(kBodySize, static_cast<char>('a' + i % 26)));
    SaveMailbox(*outlook, path);
  }
  const std::size_t before = tests::heap::held;
  tests::heap::ResetPeak();
  const auto loaded = LoadMailbox(path);
  EXPECT_LT(tests::heap::peak - before, kMessages * kBodySize * 3 / 2);
  const auto bounces = loaded->Stores().front()->FindSubfolder("Bounces");
  ASSERT_EQ(bounces->ItemCount(), kMessages);
  EXPECT_EQ(bounces->ItemAt(kMessages)->Body(), std::string(kBodySize, static_cast<char>('a' + (kMessages - 1) % 26)));
}

std::shared_ptr<MemoryOutlook> RichMailbox() {
  auto outlook = MemoryOutlook::Create("15.0.0.1");
  auto root = outlook->AddStore("Mailbox", "S1");
  auto inbox = root->AddFolder("Inbox", ItemType::Mail);
  auto nested = inbox->AddFolder("Back\\slash \xE6\x97\xA5\xE6\x9C\xAC", ItemType::Note);
  inbox->AddMail(kTrickyBody,
                 "s\xC3\xBC"
                 "bject",
                 ItemClass::Mail, "M1");
  inbox->AddMail("report", "NDR", ItemClass::Report);
  nested->AddMail("note", "", ItemClass::Note, "N1");
  auto contacts = root->AddFolder("Contacts", ItemType::Contact);
  auto contact = contacts->AddContact({"Ann", "ACME", "+1", "a@x.com", "b@x.com", "c@x.com", "body"}, "C1");
  contact->SetEmail1Address("pending@x.com");
  auto archive = outlook->AddStore("Archive", "S2", ItemType::Note);
  archive->AddMail("top-level item");
  outlook->SetActiveExplorerFolder(nested);
  return outlook;
}

TEST(MailboxFile, RoundTrip_KeepsEveryByteAndOnlyTheStoredState) {
  auto original = RichMailbox();
  const std::string text = SerializeMailbox(*original);
  EXPECT_THAT(text, HasSubstr("nul\\u0000inside \xC3\xA9 \xF0\x9F\x93\xA7"));
  EXPECT_THAT(text, Not(HasSubstr("pending@x.com")));

  tests::TempFolder folder;
  const auto path = folder.Path() / "saved.json";
  SaveMailbox(*original, path);
  EXPECT_EQ(platform::ReadFileBytes(path), text);
  auto loaded = LoadMailbox(path);
  EXPECT_EQ(SerializeMailbox(*loaded), text);

  auto mail = loaded->Session()->GetItemFromID("M1", "S1");
  EXPECT_EQ(mail->Body(), kTrickyBody);
  EXPECT_EQ(std::dynamic_pointer_cast<MemoryItem>(mail)->Subject(),
            "s\xC3\xBC"
            "bject");
  EXPECT_EQ(AsContact(loaded->Session()->GetItemFromID("C1", "S1"))->Email1Address(), "a@x.com");
  EXPECT_EQ(loaded->ActiveExplorerFolder()->Name(), "Back\\slash \xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(loaded->Version(), "15.0.0.1");
  EXPECT_EQ(loaded->Stores().at(1)->DefaultItemType(), ItemType::Note);
  EXPECT_EQ(loaded->Stores().at(1)->ItemCount(), 1u);
}

TEST(MailboxFile, RoundTrip_KeepsTheExplorerFolderOfAStoreWithoutAName) {
  auto original =
      ParseMailbox(R"({"stores": [{"folders": [{"name": "x"}]}], "activeExplorerFolder": "\\x"})", "f.json");
  const std::string text = SerializeMailbox(*original);
  EXPECT_THAT(text, HasSubstr(R"("activeExplorerFolder": "\\x")"));
  EXPECT_EQ(ParseMailbox(text, "saved")->ActiveExplorerFolder()->Name(), "x");
}

TEST(MailboxFile, Serialize_WritesEveryKeyInAStableOrder) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("M", "S");
  root->AddMail("b", "s", ItemClass::Note, "N");
  root->AddFolder("C", ItemType::Contact)->AddContact({.fullName = "F"}, "C1");
  EXPECT_EQ(SerializeMailbox(*outlook), R"({
 "outlookVersion": "16.0.0.4266",
 "activeExplorerFolder": null,
 "stores": [
  {
   "name": "M",
   "storeId": "S",
   "defaultItemType": 0,
   "folders": [
    {
     "name": "C",
     "defaultItemType": 2,
     "folders": [],
     "items": [
      {
       "entryId": "C1",
       "class": 40,
       "fullName": "F",
       "companyName": "",
       "businessTelephoneNumber": "",
       "email1Address": "",
       "email2Address": "",
       "email3Address": "",
       "body": ""
      }
     ]
    }
   ],
   "items": [
    {
     "entryId": "N",
     "class": 44,
     "subject": "s",
     "body": "b"
    }
   ]
  }
 ]
}
)");

  // Bytes that are no UTF-8 cannot go into JSON text; they become U+FFFD.
  root->AddMail("bad \xFF byte", "", ItemClass::Mail, "BAD");
  auto loaded = ParseMailbox(SerializeMailbox(*outlook), "saved");
  EXPECT_EQ(loaded->Session()->GetItemFromID("BAD", "S")->Body(), "bad \xEF\xBF\xBD byte");
}

TEST(MailboxFile, Save_FailureKeepsTheOldFile) {
  tests::TempFolder folder;
  const auto path = folder.Path() / "mailbox.json";
  WriteFile(path, kExample);
  auto outlook = LoadMailbox(path);
  outlook->Stores().front()->AddMail("new");
  EXPECT_THROW(SaveMailbox(*outlook, folder.Path() / "missing" / "mailbox.json"), std::runtime_error);
  SaveMailbox(*outlook, path);
  EXPECT_EQ(LoadMailbox(path)->Stores().front()->ItemCount(), 1u);
  EXPECT_THAT(folder.FileNames(), ElementsAre("mailbox.json"));
}

}  // namespace
}  // namespace qor::host::memory
