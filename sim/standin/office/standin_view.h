#pragma once

// A private interface every stand-in object answers, so that the driver and Move can get from an
// IDispatch back to the model behind it. In-process only: it passes C++ objects.

#include "standin/office/command_bar_nodes.h"

#include <unknwn.h>

#include <memory>

namespace qor::standin::office {

class Model;

struct IStandinView : IUnknown {
  virtual Model& StandinModel() const noexcept = 0;
  // The bar a CommandBar object shows; null for other objects.
  virtual std::shared_ptr<BarNode> StandinBar() const noexcept = 0;
};

}  // namespace qor::standin::office

__CRT_UUID_DECL(qor::standin::office::IStandinView, 0x6b2f4c1e, 0x8d3a, 0x4e57, 0xa9, 0x14, 0x3c, 0x62, 0xe8, 0x0b,
                0x71, 0xd5)
