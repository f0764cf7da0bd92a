#pragma once

namespace qor::host::office {

// Office's MsoControlType codes of the controls the framework creates.
enum class ControlType { Button = 1, Edit = 2, DropDown = 3, ComboBox = 4, Popup = 10 };

}  // namespace qor::host::office
