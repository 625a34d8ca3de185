#include "skin/SkinElements.h"

#include <utility>

namespace skin {

TDataSkinObject::TDataSkinObject(std::string name) : Name(std::move(name)) {}

TDataSkinObject::~TDataSkinObject() = default;

} // namespace skin
