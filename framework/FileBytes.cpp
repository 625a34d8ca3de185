#include "framework/FileBytes.h"

namespace framework {

const TFileBytes& NoFileBytes()
{
  static const TFileBytes none = std::make_shared<const std::vector<uint8_t>>();
  return none;
}

} // namespace framework
