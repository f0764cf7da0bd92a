#include "standin/outlook/table_object.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "com/com_error.h"
#include "com/safe_array.h"
#include "host/memory/memory_item.h"
#include "platform/case_blind.h"
#include "standin/outlook/item_objects.h"

namespace qor::standin {
namespace {

// Tables came with Outlook 2007, which refuses a GetArray for more rows than the table holds;
// later versions hand out what is left.
constexpr int kFirstVersionWithTables = 12;
constexpr int kVersionRefusingLongBatches = 12;

// OlObjectClass
constexpr int kTableClass = 120;
constexpr int kRowClass = 121;
constexpr int kColumnsClass = 150;
constexpr int kColumnClass = 154;

// Properties a contact has and other items lack: Empty for those.
template <std::string (host::ContactItem::*Get)() const>
com::Variant ContactValue(const host::Item& item) {
  const auto* contact = dynamic_cast<const host::ContactItem*>(&item);
  return contact != nullptr ? com::Variant((contact->*Get)()) : com::Variant();
}

struct Column {
  std::string_view name;
  com::Variant (*value)(const host::Item& item);
};

// The properties a table of the in-memory Outlook's items can show.
constexpr std::array<Column, 9> kColumns = {{
    {"EntryID", [](const host::Item& item) { return com::Variant(item.EntryID()); }},
    {"Subject", [](const host::Item& item) { return com::Variant(SubjectOf(item)); }},
    {"MessageClass", [](const host::Item& item) { return com::Variant(host::memory::MessageClassOf(item.Class())); }},
    {"FullName", ContactValue<&host::ContactItem::FullName>},
    {"CompanyName", ContactValue<&host::ContactItem::CompanyName>},
    {"BusinessTelephoneNumber", ContactValue<&host::ContactItem::BusinessTelephoneNumber>},
    {"Email1Address", ContactValue<&host::ContactItem::Email1Address>},
    {"Email2Address", ContactValue<&host::ContactItem::Email2Address>},
    {"Email3Address", ContactValue<&host::ContactItem::Email3Address>},
}};

// Outlook's default columns lack CreationTime and LastModificationTime here: the in-memory items
// have no times.
const std::vector<std::string> kDefaultColumns = {"EntryID", "Subject", "MessageClass"};

const Column& ColumnNamed(std::string_view name) {
  const auto found = std::find_if(kColumns.begin(), kColumns.end(), [&](const Column& column) {
    return platform::SameTextIgnoringCase(column.name, name);
  });
  if (found == kColumns.end())
    throw com::ComError(E_INVALIDARG, "The property \"" + std::string(name) + "\" is unknown.");
  return *found;
}

com::Variant ValueOf(const host::Item& item, std::string_view column) { return ColumnNamed(column).value(item); }

[[noreturn]] void ThrowInvalidParameters() {
  throw com::ComError(E_INVALIDARG, "Could not complete the operation. One or more parameter values are not valid.");
}

// A column of `columns` by position (1-based) or by name, as Columns.Item and Row.Item take it.
std::size_t PositionOf(const std::vector<std::string>& columns, const com::Variant& index) {
  if (index.Type() == VT_BSTR) {
    const std::string name = index.ToUtf8();
    const auto found = std::find_if(columns.begin(), columns.end(), [&](const std::string& column) {
      return platform::SameTextIgnoringCase(column, name);
    });
    if (found == columns.end()) ThrowInvalidParameters();
    return static_cast<std::size_t>(found - columns.begin());
  }
  const int position = index.ToInt();
  if (position < 1 || static_cast<std::size_t>(position) > columns.size()) throw com::ComError(DISP_E_BADINDEX);
  return static_cast<std::size_t>(position - 1);
}

}  // namespace

const com::DispatchTable<TableObject>& TableObject::DispatchMembers() {
  static const auto table =
      com::DispatchTable<TableObject>()
          .Property("Class", [](TableObject&) { return kTableClass; })
          .Property("Columns", [](TableObject& self) { return com::Make<ColumnsObject>(self.state_); })
          .Property("EndOfTable", [](TableObject& self) { return self.state_->next >= self.state_->rows.size(); })
          .Method("GetArray", &TableObject::GetArray)
          .Method("GetNextRow",
                  [](TableObject& self) -> com::ComPtr<IDispatch> {
                    TableState& state = *self.state_;
                    if (state.next >= state.rows.size()) return nullptr;
                    return com::Make<RowObject>(state.rows[state.next++], state.columns);
                  })
          .Method("GetRowCount", [](TableObject& self) { return self.state_->rows.size(); })
          .Method("MoveToStart", [](TableObject& self) { self.state_->next = 0; });
  return table;
}

com::Variant TableObject::GetArray(int maxRows) {
  TableState& state = *state_;
  if (maxRows <= 0) ThrowInvalidParameters();
  if (state.majorVersion == kVersionRefusingLongBatches && static_cast<std::size_t>(maxRows) > state.rows.size())
    ThrowInvalidParameters();
  const auto rows = static_cast<long>(std::min<std::size_t>(maxRows, state.rows.size() - state.next));
  const auto columns = static_cast<long>(state.columns.size());
  auto array = com::SafeArray::Matrix(rows, columns);
  {
    com::VariantTable cells(array.Get());
    for (long row = 0; row < rows; ++row) {
      const host::Item& item = *state.rows[state.next + row];
      for (long column = 0; column < columns; ++column)
        cells.At(row, column) = ValueOf(item, state.columns[column]).Detach();
    }
  }
  state.next += rows;
  return com::ArrayVariant(std::move(array));
}

const com::DispatchTable<ColumnsObject>& ColumnsObject::DispatchMembers() {
  using Self = ColumnsObject;
  static const auto table =
      com::DispatchTable<Self>()
          .Property("Class", [](Self&) { return kColumnsClass; })
          .Property("Count", [](Self& self) { return self.state_->columns.size(); })
          .Property("Item", DISPID_VALUE,
                    [](Self& self, com::Variant index) {
                      return com::Make<ColumnObject>(self.state_->columns[PositionOf(self.state_->columns, index)]);
                    })
          .Method("Add",
                  [](Self& self, std::string name) {
                    std::string spelt(ColumnNamed(name).name);
                    self.state_->columns.push_back(spelt);
                    return com::Make<ColumnObject>(std::move(spelt));
                  })
          .Method("Remove",
                  [](Self& self, com::Variant index) {
                    auto& columns = self.state_->columns;
                    columns.erase(columns.begin() + static_cast<std::ptrdiff_t>(PositionOf(columns, index)));
                  })
          .Method("RemoveAll", [](Self& self) { self.state_->columns.clear(); });
  return table;
}

const com::DispatchTable<ColumnObject>& ColumnObject::DispatchMembers() {
  static const auto table = com::DispatchTable<ColumnObject>()
                                .Property("Class", [](ColumnObject&) { return kColumnClass; })
                                .Property("Name", [](ColumnObject& self) { return self.name_; });
  return table;
}

const com::DispatchTable<RowObject>& RowObject::DispatchMembers() {
  static const auto table =
      com::DispatchTable<RowObject>()
          .Property("Class", [](RowObject&) { return kRowClass; })
          .Property("Item", DISPID_VALUE,
                    [](RowObject& self, com::Variant index) {
                      return ValueOf(*self.item_, self.columns_[PositionOf(self.columns_, index)]);
                    })
          .Method("GetValues", [](RowObject& self) {
            auto values = com::SafeArray::List(static_cast<long>(self.columns_.size()));
            {
              com::VariantTable cells(values.Get());
              for (long column = 0; column < cells.Columns(); ++column)
                cells.At(0, column) = ValueOf(*self.item_, self.columns_[column]).Detach();
            }
            return com::ArrayVariant(std::move(values));
          });
  return table;
}

com::ComPtr<IDispatch> MakeTableObject(host::Folder& folder, const std::string& filter, int tableContents,
                                       int majorVersion) {
  if (majorVersion != 0 && majorVersion < kFirstVersionWithTables) throw com::ComError(DISP_E_MEMBERNOTFOUND);
  constexpr int kHiddenItems = 1;  // olHiddenItems
  auto state = std::make_shared<TableState>();
  state->columns = kDefaultColumns;
  state->majorVersion = majorVersion;
  if (tableContents != kHiddenItems) {
    const auto items = filter.empty() ? folder.Items() : folder.Items()->Restrict(filter);
    for (auto item = items->GetFirst(); item; item = items->GetNext()) state->rows.push_back(std::move(item));
  }
  return com::Make<TableObject>(std::move(state));
}

}  // namespace qor::standin
