#include "com/guid_text.h"

#include <objbase.h>

#include <iterator>

namespace qor::com {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
  return text;
}

}  // namespace qor::com
