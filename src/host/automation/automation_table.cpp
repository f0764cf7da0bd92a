#include "host/automation/automation_table.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "com/safe_array.h"
#include "com/utf.h"
#include "host/automation/automation_object.h"

namespace qor::host::automation {

namespace {

// Rows per GetArray: few calls, and a batch of BSTRs that stays small.
constexpr int kRowsPerBatch = 1000;

constexpr std::array<std::string_view, 4> kContactColumns = {"EntryID", "Email1Address", "Email2Address",
                                                             "Email3Address"};

class TableColumns : public OutlookObject {
 public:
  explicit TableColumns(com::ComPtr<IDispatch> columns) noexcept : OutlookObject("Columns", std::move(columns)) {}

  // Only `names`, in that order, instead of the folder's default columns.
  template <std::size_t N>
  void Keep(const std::array<std::string_view, N>& names) const {
    Call("RemoveAll");
    for (const auto name : names) Call("Add", std::string(name));
  }
};

class ContactTable : public OutlookObject {
 public:
  explicit ContactTable(com::ComPtr<IDispatch> table) noexcept : OutlookObject("Table", std::move(table)) {}

  std::vector<host::ContactAddresses> Read() const {
    TableColumns(Get("Columns").RequiredObject()).Keep(kContactColumns);
    // Outlook 2007 refuses a batch longer than the table, so none asks for more rows than are left.
    const int total = Call("GetRowCount").Number();
    std::vector<host::ContactAddresses> contacts;
    contacts.reserve(static_cast<std::size_t>(std::max(total, 0)));
    while (static_cast<int>(contacts.size()) < total) {
      const int asked = std::min(kRowsPerBatch, total - static_cast<int>(contacts.size()));
      const com::Variant batch = Call("GetArray", asked).Value();
      // A folder that lost items since answers fewer rows, in the end none.
      if (AsHostCall("Table", "GetArray", [&] { return Append(batch, contacts); }) == 0) break;
    }
    return contacts;
  }

 private:
  static long Append(const com::Variant& batch, std::vector<host::ContactAddresses>& contacts) {
    if (batch.IsEmpty()) return 0;
    com::VariantTable cells(batch);
    if (cells.Rows() > 0 && cells.Columns() != static_cast<long>(kContactColumns.size()))
      throw com::ComError(DISP_E_BADINDEX);
    for (long row = 0; row < cells.Rows(); ++row) {
      contacts.push_back(
          {Text(cells.At(row, 0)), Text(cells.At(row, 1)), Text(cells.At(row, 2)), Text(cells.At(row, 3))});
    }
    return cells.Rows();
  }

  // A cell as text: Empty or Null (a property the item lacks) is "".
  static std::string Text(const VARIANT& cell) {
    if (cell.vt == VT_BSTR) return com::ToUtf8(std::wstring_view(cell.bstrVal, SysStringLen(cell.bstrVal)));
    if (cell.vt == VT_EMPTY || cell.vt == VT_NULL) return {};
    com::Variant copy;
    HRESULT hr = VariantCopy(copy.Put(), com::detail::ReadOnly(cell));
    if (FAILED(hr)) throw com::ComError(hr);
    return copy.ToUtf8();
  }
};

}  // namespace

std::vector<host::ContactAddresses> ContactAddressesOfTable(com::ComPtr<IDispatch> table) {
  return ContactTable(std::move(table)).Read();
}

}  // namespace qor::host::automation
