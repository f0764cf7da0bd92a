#pragma once

// Outlook's Table (Folder.GetTable, from Outlook 2007 on): the rows of a folder's items with a
// chosen set of columns, read row by row (GetNextRow) or a batch at a time (GetArray), and its
// Columns, Column and Row. The rows are the items the folder held when the table was made. Sort,
// Restrict and FindRow are left out: nothing here asks for them.

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

#include "com/com_object.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"

namespace qor::standin {

struct TableState {
  std::vector<std::shared_ptr<host::Item>> rows;
  // Property names as Outlook spells them, in the table's order.
  std::vector<std::string> columns;
  std::size_t next = 0;  // the current row
  int majorVersion = 0;
};

class TableObject final : public com::ComObject<TableObject, office::CountedDispatch<TableObject>> {
 public:
  explicit TableObject(std::shared_ptr<TableState> state) noexcept : state_(std::move(state)) {}

  static const com::DispatchTable<TableObject>& DispatchMembers();

 private:
  com::Variant GetArray(int maxRows);

  std::shared_ptr<TableState> state_;
};

class ColumnsObject final : public com::ComObject<ColumnsObject, office::CountedDispatch<ColumnsObject>> {
 public:
  explicit ColumnsObject(std::shared_ptr<TableState> state) noexcept : state_(std::move(state)) {}

  static const com::DispatchTable<ColumnsObject>& DispatchMembers();

 private:
  std::shared_ptr<TableState> state_;
};

class ColumnObject final : public com::ComObject<ColumnObject, office::CountedDispatch<ColumnObject>> {
 public:
  explicit ColumnObject(std::string name) noexcept : name_(std::move(name)) {}

  static const com::DispatchTable<ColumnObject>& DispatchMembers();

 private:
  std::string name_;
};

class RowObject final : public com::ComObject<RowObject, office::CountedDispatch<RowObject>> {
 public:
  RowObject(std::shared_ptr<host::Item> item, std::vector<std::string> columns) noexcept
      : item_(std::move(item)), columns_(std::move(columns)) {}

  static const com::DispatchTable<RowObject>& DispatchMembers();

 private:
  std::shared_ptr<host::Item> item_;
  std::vector<std::string> columns_;
};

// Folder.GetTable: the folder's items, or those `filter` (Restrict's syntax) keeps, with the
// default columns. Hidden items (`tableContents` 1) the in-memory Outlook has none of.
com::ComPtr<IDispatch> MakeTableObject(host::Folder& folder, const std::string& filter, int tableContents,
                                       int majorVersion);

}  // namespace qor::standin
